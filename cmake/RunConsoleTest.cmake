# Runs one console script for CTest: cmake -DHOST= -DMODULES= -DSCRIPT=
# [-DEXPECTED=file] [-DEXIT=code] -P RunConsoleTest.cmake
execute_process(COMMAND ${HOST} script ${SCRIPT} --modules ${MODULES}
                RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
if(NOT "${rc}" STREQUAL "${EXIT}")
  message(FATAL_ERROR "exit code ${rc}, expected ${EXIT}\nstdout:\n${out}\nstderr:\n${err}")
endif()
if(EXPECTED)
  file(READ ${EXPECTED} want)
  if(NOT "${out}" STREQUAL "${want}")
    message(FATAL_ERROR "output differs from ${EXPECTED}\n--- got:\n${out}\n--- expected:\n${want}\nstderr:\n${err}")
  endif()
endif()
