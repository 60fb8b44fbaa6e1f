# Builds each table that must be refused and checks that the compiler refuses
# it for the right reason. -DBUILD_DIR=<build tree>
set(cases
  "ui_compile_badSignature|invalid.*static_cast.*TWrong"
  "ui_compile_duplicateEntry|a response table names one message twice")
foreach(entry ${cases})
  string(REPLACE "|" ";" parts "${entry}")
  list(GET parts 0 target)
  list(GET parts 1 expected)
  execute_process(COMMAND ${CMAKE_COMMAND} --build ${BUILD_DIR} --target ${target}
                  RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
  if(rc EQUAL 0)
    message(FATAL_ERROR "${target} compiled, but its response table is wrong")
  endif()
  if(NOT "${out}${err}" MATCHES "${expected}")
    message(FATAL_ERROR "${target} failed for another reason:\n${out}${err}")
  endif()
  message(STATUS "${target}: refused as it should be")
endforeach()
