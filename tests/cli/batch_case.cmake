# Runs tessarin-cli --batch on the README's example file in a fresh directory: every row is
# accepted, the results file has a row per input row plus an envelope per column, every accepted
# row has its report, and no Result.txt is written.
file(REMOVE_RECURSE "${WORK}")
file(MAKE_DIRECTORY "${WORK}")
execute_process(COMMAND "${CLI}" --batch "${INPUT}" --out results.csv --reports reports
  WORKING_DIRECTORY "${WORK}" RESULT_VARIABLE code ERROR_VARIABLE err)
if(NOT code EQUAL 0)
  message(FATAL_ERROR "exit code ${code}:\n${err}")
endif()
file(READ "${WORK}/results.csv" text)
string(REGEX MATCHALL "\n" ends "${text}")
list(LENGTH ends count)
if(NOT count EQUAL 10)
  message(FATAL_ERROR "results.csv has ${count} lines, expected 1 + 6 rows + 3 envelopes")
endif()
file(GLOB reports "${WORK}/reports/*.txt")
list(LENGTH reports reportCount)
if(NOT reportCount EQUAL 6)
  message(FATAL_ERROR "${reportCount} reports written, expected 6")
endif()
if(EXISTS "${WORK}/Result.txt")
  message(FATAL_ERROR "a batch run must not write Result.txt")
endif()
