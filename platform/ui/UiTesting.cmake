# Display tests of the programs under Xvfb.
#
# One Xvfb server per build tree: the CTest fixture test xvfb_start starts it
# (`Xvfb -displayfd 3 -screen 0 1280x800x24 -nolisten tcp`, its display and pid
# recorded in <build>/xvfb/) and xvfb_stop kills that pid after the last display
# test. A display test runs with DISPLAY set to that server and QT_QPA_PLATFORM
# set to xcb. Display tests share one screen, so they run one at a time (a
# window of one test would cover the pixels another test probes):
#
#   ui_add_display_test(<name> COMMAND <program> [args...]
#                       [ENVIRONMENT VAR=value...] [LABELS label...] [TIMEOUT seconds])
set(UI_XVFB_STATE ${CMAKE_BINARY_DIR}/xvfb CACHE INTERNAL "")
set(UI_XVFB_SCRIPTS ${CMAKE_CURRENT_LIST_DIR}/xvfb CACHE INTERNAL "")

if(SKJOLDR_TESTS AND NOT TEST xvfb_start)
  add_test(NAME xvfb_start COMMAND ${UI_XVFB_SCRIPTS}/xvfb-start ${UI_XVFB_STATE})
  set_tests_properties(xvfb_start PROPERTIES FIXTURES_SETUP xvfb)
  add_test(NAME xvfb_stop COMMAND ${UI_XVFB_SCRIPTS}/xvfb-stop ${UI_XVFB_STATE})
  set_tests_properties(xvfb_stop PROPERTIES FIXTURES_CLEANUP xvfb)
endif()

function(ui_add_display_test name)
  cmake_parse_arguments(ARG "" "TIMEOUT" "COMMAND;ENVIRONMENT;LABELS" ${ARGN})
  if(NOT ARG_COMMAND)
    message(FATAL_ERROR "ui_add_display_test(${name}) needs a COMMAND")
  endif()
  add_test(NAME ${name} COMMAND ${UI_XVFB_SCRIPTS}/xvfb-run ${UI_XVFB_STATE} ${ARG_COMMAND})
  set(env "QT_QPA_PLATFORM=xcb" ${ARG_ENVIRONMENT})
  if(NOT ARG_TIMEOUT)
    set(ARG_TIMEOUT 120)
  endif()
  set_tests_properties(${name} PROPERTIES FIXTURES_REQUIRED xvfb ENVIRONMENT "${env}"
                       RESOURCE_LOCK xvfb_screen TIMEOUT ${ARG_TIMEOUT}
                       LABELS "display;${ARG_LABELS}")
endfunction()
