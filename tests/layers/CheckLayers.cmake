# Builds the layer probes: the allowed one must build, every wrong one must
# fail because its header is not found (not for any other reason).
execute_process(COMMAND ${CMAKE_COMMAND} --build ${BUILD} --target ${ALLOWED}
                RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE out)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "The allowed probe ${ALLOWED} did not build:\n${out}")
endif()
foreach(probe ${WRONG})
  execute_process(COMMAND ${CMAKE_COMMAND} --build ${BUILD} --target ${probe}
                  RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE out)
  if(rc EQUAL 0)
    message(FATAL_ERROR "${probe} compiled: a layer reaches one it may not use")
  endif()
  if(NOT out MATCHES "No such file or directory")
    message(FATAL_ERROR "${probe} failed for another reason than a missing header:\n${out}")
  endif()
  message(STATUS "${probe}: refused, as it should be")
endforeach()
