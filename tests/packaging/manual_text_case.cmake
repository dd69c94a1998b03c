# Runs tests/packaging/check_manual_text.py and compares its report and exit code.
#   PYTHON    the interpreter
#   CHECKER   check_manual_text.py
#   HELP      tessarin-cli, or a file holding a help text
#   MANUAL    the manual page
#   PAGES     the user guide's pages (a list, may be empty)
#   EXPECTED  the file holding the expected report ("" for none)
#   CODE      the expected exit code
cmake_minimum_required(VERSION 3.25)
execute_process(COMMAND "${PYTHON}" "${CHECKER}" "${HELP}" "${MANUAL}" ${PAGES}
  RESULT_VARIABLE code OUTPUT_VARIABLE out ERROR_VARIABLE err)
if(EXPECTED)
  file(READ "${EXPECTED}" expected)
else()
  set(expected "")
endif()
if(NOT code STREQUAL CODE OR NOT out STREQUAL expected OR NOT err STREQUAL "")
  message(FATAL_ERROR "check_manual_text.py ${HELP} ${MANUAL}: exit ${code} (expected ${CODE})\n"
    "--- report ---\n${out}--- expected ---\n${expected}--- stderr ---\n${err}")
endif()
