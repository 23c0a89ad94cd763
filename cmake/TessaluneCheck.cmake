# Runs `tessalune check` on a model's IBIS file (and through it its .ami
# file) and fails unless the file passes with no error and no warning:
#   cmake -DCHECK_PROGRAM=tessalune -DIBS=dir/model.ibs -P TessaluneCheck.cmake
foreach(var CHECK_PROGRAM IBS)
  if(NOT DEFINED ${var})
    message(FATAL_ERROR "TessaluneCheck.cmake needs -D${var}=...")
  endif()
endforeach()

execute_process(COMMAND "${CHECK_PROGRAM}" check "${IBS}" RESULT_VARIABLE status OUTPUT_VARIABLE report
                ERROR_VARIABLE report)
message("${report}")
if(NOT status EQUAL 0 OR NOT report MATCHES "\nErrors  : 0\n" OR report MATCHES "WARNING|\nWarnings:")
  message(FATAL_ERROR "${IBS} must pass the checker with no error and no warning")
endif()
