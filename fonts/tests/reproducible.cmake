# Builds the symbol fonts twice with the same SOURCE_DATE_EPOCH and compares the
# bytes; then checks that the build refuses an inventory code that has no
# drawing and leaves no font file behind for it.
file(REMOVE_RECURSE ${WORK})
foreach(run a b)
  execute_process(COMMAND ${CMAKE_COMMAND} -E env SOURCE_DATE_EPOCH=1700000000
                          ${PYTHON} ${SCRIPT} ${WORK}/${run}
                  RESULT_VARIABLE rc ERROR_VARIABLE err)
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "font build ${run} failed: ${err}")
  endif()
endforeach()
foreach(font INT1BOUY SYMBINT1 INT1VECT)
  file(SHA256 ${WORK}/a/${font}.TTF ha)
  file(SHA256 ${WORK}/b/${font}.TTF hb)
  if(NOT ha STREQUAL hb)
    message(FATAL_ERROR "${font}.TTF differs between two builds")
  endif()
endforeach()

get_filename_component(dir ${SCRIPT} DIRECTORY)
file(READ ${dir}/inventory.csv inventory)
file(WRITE ${WORK}/extra.csv "${inventory}SYMBINT1,250,a code nobody drew,test\n")
execute_process(COMMAND ${PYTHON} ${SCRIPT} ${WORK}/c ${WORK}/extra.csv
                RESULT_VARIABLE rc ERROR_VARIABLE err)
if(rc EQUAL 0 OR EXISTS ${WORK}/c/SYMBINT1.TTF OR NOT err MATCHES "250")
  message(FATAL_ERROR "an inventory code without a drawing was not refused (${rc}): ${err}")
endif()
if(NOT EXISTS ${WORK}/c/INT1BOUY.TTF)
  message(FATAL_ERROR "the sound fonts were not written")
endif()
