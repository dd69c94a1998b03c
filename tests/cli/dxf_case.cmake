# Runs tessarin-cli --code 2010 with --dxf once in a fresh directory and checks the drawing.
#   CLI, EMULATOR, WORK, ARGS, EXIT, STDERR   as in cli_case.cmake
#   SETUP    optional: "dxf-dir" puts a directory named start.dxf in place first
#   PYTHON, CHECKER   optional: read start.dxf back and compare it with the printed JSON
#   ABSENT   optional: a file (relative to WORK) that must not exist afterwards
#   RENDER   optional: tools/dxf-to-png, which must turn start.dxf into a PNG picture
file(REMOVE_RECURSE "${WORK}")
file(MAKE_DIRECTORY "${WORK}")
if(SETUP STREQUAL "dxf-dir")
  file(MAKE_DIRECTORY "${WORK}/start.dxf")
endif()

execute_process(COMMAND ${EMULATOR} "${CLI}" ${ARGS}
  WORKING_DIRECTORY "${WORK}"
  RESULT_VARIABLE code
  OUTPUT_FILE "${WORK}/stdout.json"
  ERROR_VARIABLE err)
if(NOT code STREQUAL EXIT)
  message(FATAL_ERROR "exit code ${code}, expected ${EXIT}\nstderr:\n${err}")
endif()
if(DEFINED STDERR AND NOT err MATCHES "${STDERR}")
  message(FATAL_ERROR "stderr does not mention '${STDERR}':\n${err}")
endif()

if(SETUP STREQUAL "dxf-dir")
  file(GLOB inside "${WORK}/start.dxf/*")
  if(NOT IS_DIRECTORY "${WORK}/start.dxf" OR inside)
    message(FATAL_ERROR "the directory named start.dxf was changed")
  endif()
endif()
if(DEFINED ABSENT AND NOT ABSENT STREQUAL "" AND EXISTS "${WORK}/${ABSENT}")
  message(FATAL_ERROR "${ABSENT} was written")
endif()
# Nothing half-written stays behind: only the report, stdout and what the case asked for.
file(GLOB left RELATIVE "${WORK}" "${WORK}/.*")
if(left)
  message(FATAL_ERROR "temporary files left behind: ${left}")
endif()

if(DEFINED CHECKER AND NOT CHECKER STREQUAL "")
  execute_process(COMMAND "${PYTHON}" "${CHECKER}" --design "${WORK}/stdout.json"
                          "${WORK}/start.dxf" 400 600 20 8 C30 HRB400
    RESULT_VARIABLE checked
    OUTPUT_VARIABLE report
    ERROR_VARIABLE report)
  if(NOT checked EQUAL 0)
    message(FATAL_ERROR "the drawing does not hold the design:\n${report}")
  endif()
endif()

if(DEFINED RENDER AND NOT RENDER STREQUAL "")
  execute_process(COMMAND "${PYTHON}" "${RENDER}" "${WORK}/start.dxf" "${WORK}/start.png" 40
    RESULT_VARIABLE rendered
    ERROR_VARIABLE report)
  file(READ "${WORK}/start.png" signature LIMIT 8 HEX)
  if(NOT rendered EQUAL 0 OR NOT signature STREQUAL "89504e470d0a1a0a")
    message(FATAL_ERROR "tools/dxf-to-png made no picture of the drawing:\n${report}")
  endif()
endif()
