cmake_minimum_required(VERSION 3.25)
# Checks that every name listed in NAMES is a defined dynamic symbol of
# LIBRARY under exactly that name (not C++-mangled).
# Usage: cmake -DNM=nm -DLIBRARY=lib.so -DNAMES=list.txt -P check_exports.cmake
execute_process(COMMAND ${NM} -D --defined-only ${LIBRARY}
                OUTPUT_VARIABLE symbols RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "${NM} failed on ${LIBRARY}")
endif()
string(REGEX MATCHALL "[^\n]+" lines "${symbols}")
set(defined "")
foreach(line IN LISTS lines)
  # "address type name": keep the name.
  if(line MATCHES "^[0-9a-fA-F]* *[A-Za-z] ([^ ]+)$")
    list(APPEND defined "${CMAKE_MATCH_1}")
  endif()
endforeach()
file(STRINGS ${NAMES} wanted REGEX "^[^#]")
set(missing "")
foreach(name IN LISTS wanted)
  string(STRIP "${name}" name)
  if(name AND NOT name IN_LIST defined)
    list(APPEND missing "${name}")
  endif()
endforeach()
if(missing)
  message(FATAL_ERROR "not exported unmangled from ${LIBRARY}: ${missing}")
endif()
