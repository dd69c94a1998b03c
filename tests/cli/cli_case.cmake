# Runs tessarin-cli once in a fresh directory and checks its exit code, the Result.txt it leaves
# and (optionally) what it printed.
#   CLI         the tessarin-cli binary
#   EMULATOR    optional: what runs it (wine for the Windows build)
#   WORK        scratch directory (recreated)
#   ARGS        the arguments, separated by ';'
#   EXIT        the expected exit code
#   GOLDEN      expected Result.txt bytes (a file); NONE: no Result.txt may exist; OLD: the
#               earlier report is untouched; ANY: a report was written; DIRECTORY: see SETUP
#   SETUP       optional: "result-dir" puts a directory named Result.txt in place first,
#               "old-file" an earlier report that must survive a rejected run, "fifo" a named
#               pipe (GOLDEN FIFO: it must still be there)
#   STDERR      optional: a text stderr must contain
file(REMOVE_RECURSE "${WORK}")
file(MAKE_DIRECTORY "${WORK}")
if(SETUP STREQUAL "result-dir")
  file(MAKE_DIRECTORY "${WORK}/Result.txt")
elseif(SETUP STREQUAL "old-file")
  file(WRITE "${WORK}/Result.txt" "earlier report")
elseif(SETUP STREQUAL "fifo")
  execute_process(COMMAND mkfifo "${WORK}/Result.txt" RESULT_VARIABLE made)
  if(NOT made EQUAL 0)
    message(FATAL_ERROR "mkfifo failed")
  endif()
endif()

execute_process(COMMAND ${EMULATOR} "${CLI}" ${ARGS}
  WORKING_DIRECTORY "${WORK}"
  RESULT_VARIABLE code
  OUTPUT_VARIABLE out
  ERROR_VARIABLE err)

if(NOT code STREQUAL EXIT)
  message(FATAL_ERROR "exit code ${code}, expected ${EXIT}\nstdout:\n${out}\nstderr:\n${err}")
endif()
if(DEFINED STDERR AND NOT err MATCHES "${STDERR}")
  message(FATAL_ERROR "stderr does not mention '${STDERR}':\n${err}")
endif()

if(GOLDEN STREQUAL "NONE")
  if(EXISTS "${WORK}/Result.txt")
    message(FATAL_ERROR "Result.txt was written although the input was rejected")
  endif()
elseif(GOLDEN STREQUAL "OLD")
  file(READ "${WORK}/Result.txt" kept)
  if(NOT kept STREQUAL "earlier report")
    message(FATAL_ERROR "the earlier Result.txt was changed")
  endif()
elseif(GOLDEN STREQUAL "ANY")
  if(NOT EXISTS "${WORK}/Result.txt" OR out STREQUAL "")
    message(FATAL_ERROR "the run did not go on to a report")
  endif()
elseif(GOLDEN STREQUAL "FIFO")
  execute_process(COMMAND test -p "${WORK}/Result.txt" RESULT_VARIABLE still)
  if(NOT still EQUAL 0)
    message(FATAL_ERROR "the named pipe Result.txt is gone")
  endif()
elseif(GOLDEN STREQUAL "DIRECTORY")
  if(NOT IS_DIRECTORY "${WORK}/Result.txt")
    message(FATAL_ERROR "the directory named Result.txt is gone")
  endif()
else()
  file(SHA256 "${GOLDEN}" expected)
  file(SHA256 "${WORK}/Result.txt" actual)
  if(NOT expected STREQUAL actual)
    message(FATAL_ERROR "Result.txt differs from ${GOLDEN}")
  endif()
  # stdout is the same report in UTF-8 with LF line ends.
  execute_process(COMMAND iconv -f GBK -t UTF-8 "${GOLDEN}" OUTPUT_VARIABLE utf8)
  string(REPLACE "\r\n" "\n" utf8 "${utf8}")
  if(NOT out STREQUAL utf8)
    message(FATAL_ERROR "stdout is not the report in UTF-8:\n${out}")
  endif()
endif()
