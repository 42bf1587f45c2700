# Runs one Qt Test program under Wine and prints its log. Under Wine the program has no console,
# and Qt Test on Windows then writes to the debugger's output instead of standard output; a log
# file keeps what a failing test said.
#   cmake -DRUN=<wine-run.sh> -DEXE=<test.exe> -DLOG=<file> -P run-qtest.cmake
file(REMOVE "${LOG}")
execute_process(COMMAND "${RUN}" "${EXE}" -platform offscreen -o "Z:${LOG},txt"
                RESULT_VARIABLE status)
if(EXISTS "${LOG}")
  file(READ "${LOG}" text)
  message("${text}")
else()
  message("${EXE} wrote no log")
endif()
if(NOT status EQUAL 0)
  message(FATAL_ERROR "${EXE} ended with status ${status}")
endif()
