# tessarin-cli in and into a folder named 工程 (characters outside the ANSI code page of a
# Western Windows): two --code 2010 runs with the folder as the current directory (the second
# replaces the report the first wrote), a book and a drawing written into it, and a batch that
# reads its cases from it and writes its reports into a folder 报告 inside it; ids named like
# devices (nul.a, COM1.x) written as files.
#   CLI, EMULATOR, WORK, EXAMPLE; PDFTOTEXT where tessarin-cli writes PDF books itself (Windows)
set(folder "${WORK}/工程")
file(REMOVE_RECURSE "${WORK}")
file(MAKE_DIRECTORY "${folder}")
file(COPY_FILE "${EXAMPLE}" "${folder}/柱表.csv")

function(run where)
  execute_process(COMMAND ${EMULATOR} "${CLI}" ${ARGN}
    WORKING_DIRECTORY "${where}"
    RESULT_VARIABLE code
    OUTPUT_VARIABLE out
    ERROR_VARIABLE err)
  if(NOT code EQUAL 0)
    message(FATAL_ERROR "${ARGN} in ${where}: exit ${code}\nstderr:\n${err}")
  endif()
endfunction()
function(expect_file path needle)
  if(NOT EXISTS "${path}")
    message(FATAL_ERROR "${path} was not written")
  endif()
  file(READ "${path}" text)
  string(FIND "${text}" "${needle}" at)
  if(at LESS 0)
    message(FATAL_ERROR "${path} lacks '${needle}'")
  endif()
endfunction()

run("${folder}" --code 2010)
run("${folder}" --code 2010 --json)
expect_file("${folder}/Result-GB2010.txt" "GB 50010")
run("${WORK}" --code 2010 --book 工程/计算书.html --dxf 工程/KZ1.dxf)
expect_file("${folder}/计算书.html" "<svg")
expect_file("${folder}/KZ1.dxf" "EOF")
if(PDFTOTEXT)
  # A PDF book into the folder (tessarin-cli.exe writes it itself), read back as text.
  run("${WORK}" --code 2010 --project 示例工程 --id KZ1 --book 工程/计算书.pdf)
  expect_file("${folder}/计算书.pdf" "%PDF-")
  execute_process(COMMAND "${PDFTOTEXT}" "${folder}/计算书.pdf" - OUTPUT_VARIABLE text
    RESULT_VARIABLE converted)
  foreach(part "工程名称：示例工程" "构件编号：KZ1" "设计依据" "第 1 页 共")
    string(FIND "${text}" "${part}" at)
    if(NOT converted EQUAL 0 OR at LESS 0)
      message(FATAL_ERROR "工程/计算书.pdf lacks '${part}':\n${text}")
    endif()
  endforeach()
endif()
run("${WORK}" --batch 工程/柱表.csv --code 2010 --out 工程/结果.csv --reports 工程/报告
    --dxf 工程/图 --books 工程/计算书)
expect_file("${folder}/结果.csv" ",layout,")
expect_file("${folder}/报告/KZ1-2.txt" "GB 50010")
expect_file("${folder}/图/KZ1-2.dxf" "EOF")
expect_file("${folder}/计算书/KZ1-2.html" "<svg")
# Ids that begin with a Windows device name get file names of their own, not the device.
file(WRITE "${folder}/设备.csv" "id,l0,b,h,M0x,M0y,N,concrete,steel\n"
  "nul.a,6000,400,600,244,120,400,C30,HRB400\nCOM1.x,6000,400,600,244,120,400,C30,HRB400\n")
run("${WORK}" --batch 工程/设备.csv --code 2010 --out 工程/设备结果.csv --reports 工程/设备)
expect_file("${folder}/设备/%6Eul.a-2.txt" "GB 50010")
expect_file("${folder}/设备/%43OM1.x-3.txt" "GB 50010")
# Nothing half-written stays behind.
file(GLOB_RECURSE left RELATIVE "${WORK}" "${WORK}/*/.*")
if(left)
  message(FATAL_ERROR "temporary files left behind: ${left}")
endif()
