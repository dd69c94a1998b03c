# Runs tools/check-doc-paths on a root and compares its report and exit code.
#   PYTHON    the interpreter
#   CHECKER   tools/check-doc-paths
#   ROOT      the repository (or fixture) root
#   LINES     the front page's line limit
#   EXPECTED  the file holding the expected report ("" for none)
#   CODE      the expected exit code
cmake_minimum_required(VERSION 3.25)
execute_process(COMMAND "${PYTHON}" "${CHECKER}" --root "${ROOT}" --front-page-lines ${LINES}
  RESULT_VARIABLE code OUTPUT_VARIABLE out ERROR_VARIABLE err)
if(EXPECTED)
  file(READ "${EXPECTED}" expected)
else()
  set(expected "")
endif()
if(NOT code STREQUAL CODE OR NOT out STREQUAL expected OR NOT err STREQUAL "")
  message(FATAL_ERROR "tools/check-doc-paths on ${ROOT}: exit ${code} (expected ${CODE})\n"
    "--- report ---\n${out}--- expected ---\n${expected}--- stderr ---\n${err}")
endif()
