# cmake -DGZIP=<gzip> -DINPUT=<file> -DOUTPUT=<file.gz> -P GzipFile.cmake
# Compresses one file the way Debian wants manual pages and changelogs:
# best compression, no name or time stamp in the header.
execute_process(COMMAND ${GZIP} -9n -c ${INPUT} OUTPUT_FILE ${OUTPUT} RESULT_VARIABLE result)
if(NOT result EQUAL 0)
  file(REMOVE ${OUTPUT})
  message(FATAL_ERROR "gzip ${INPUT} failed: ${result}")
endif()
