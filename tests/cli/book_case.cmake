# The calculation book of the start-up case from the real tessarin-cli, in a fresh directory.
#   CLI       the tessarin-cli binary
#   WORK      scratch directory (recreated)
#   BOOK      the book's name: "book.html" or "book.pdf" (written), or a bad path
#   EXIT      the expected exit code
#   SETUP     optional: "book-dir" makes a directory named BOOK first, "read-only" makes the
#             folder of BOOK read-only (skipped as root, who may write anyway)
#   STDERR    optional: a text stderr must contain
#   PDFTOTEXT for a PDF book: pdftotext, whose text of the book must hold every figure the report
#             prints
file(REMOVE_RECURSE "${WORK}")
file(MAKE_DIRECTORY "${WORK}")
if(SETUP STREQUAL "book-dir")
  file(MAKE_DIRECTORY "${WORK}/${BOOK}")
elseif(SETUP STREQUAL "read-only")
  execute_process(COMMAND id -u OUTPUT_VARIABLE uid OUTPUT_STRIP_TRAILING_WHITESPACE)
  if(uid STREQUAL "0")
    message("root may write into a read-only folder: skipped")
    return()
  endif()
  file(MAKE_DIRECTORY "${WORK}/locked")
  file(CHMOD "${WORK}/locked" DIRECTORY_PERMISSIONS OWNER_READ OWNER_EXECUTE)
endif()

execute_process(COMMAND "${CLI}" --check --project "示例工程" --id KZ1 --book "${BOOK}"
  WORKING_DIRECTORY "${WORK}"
  RESULT_VARIABLE code
  OUTPUT_VARIABLE out
  ERROR_VARIABLE err)
if(SETUP STREQUAL "read-only")
  file(CHMOD "${WORK}/locked" DIRECTORY_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE)
endif()
if(NOT code STREQUAL EXIT)
  message(FATAL_ERROR "exit code ${code}, expected ${EXIT}\nstdout:\n${out}\nstderr:\n${err}")
endif()
if(DEFINED STDERR AND NOT err MATCHES "${STDERR}")
  message(FATAL_ERROR "stderr does not say '${STDERR}':\n${err}")
endif()

file(GLOB_RECURSE left RELATIVE "${WORK}" LIST_DIRECTORIES true "${WORK}/*" "${WORK}/.*")
if(NOT EXIT EQUAL 0)
  # Refused before anything else: no report, no book, no temporary file.
  if(NOT out STREQUAL "")
    message(FATAL_ERROR "a refused book still ran the design:\n${out}")
  endif()
  set(expected "")
  if(SETUP STREQUAL "book-dir")
    set(expected "${BOOK}")
  elseif(SETUP STREQUAL "read-only")
    set(expected "locked")
  endif()
  if(NOT "${left}" STREQUAL "${expected}")
    message(FATAL_ERROR "the directory holds '${left}', expected '${expected}'")
  endif()
  return()
endif()

list(SORT left)
if(NOT "${left}" STREQUAL "Result.txt;${BOOK}")
  message(FATAL_ERROR "the directory holds '${left}', expected Result.txt and ${BOOK}")
endif()
# Every "%f" figure of the report (stdout) is in the book's text.
string(REGEX MATCHALL "-?[0-9]+\\.[0-9][0-9][0-9][0-9][0-9][0-9]" figures "${out}")
list(LENGTH figures count)
if(count LESS 32)
  message(FATAL_ERROR "only ${count} figures in the report:\n${out}")
endif()
if(BOOK MATCHES "\\.pdf$")
  file(READ "${WORK}/${BOOK}" head LIMIT 4 HEX)
  if(NOT head STREQUAL "25504446")  # "%PDF"
    message(FATAL_ERROR "${BOOK} is no PDF")
  endif()
  execute_process(COMMAND "${PDFTOTEXT}" "${WORK}/${BOOK}" - OUTPUT_VARIABLE text
    RESULT_VARIABLE converted)
  if(NOT converted EQUAL 0)
    message(FATAL_ERROR "pdftotext failed on ${BOOK}")
  endif()
else()
  file(READ "${WORK}/${BOOK}" text)
  foreach(needed "<svg" "示例工程" "KZ1" "利用率 |M|/|MR| = 0.933")
    string(FIND "${text}" "${needed}" at)
    if(at LESS 0)
      message(FATAL_ERROR "${BOOK} lacks '${needed}'")
    endif()
  endforeach()
endif()
foreach(figure IN LISTS figures)
  string(FIND "${text}" "${figure}" at)
  if(at LESS 0)
    message(FATAL_ERROR "the book's text lacks the report's figure ${figure}")
  endif()
endforeach()
