# Runs one command and checks its exit status and what it wrote:
#   cmake -DSTATUS=N [-DSTDOUT=REGEX] [-DSTDERR=REGEX] [-DSCRIPT=FILE -DSCRIPT_NAME=NAME]
#         [-DWORK_DIR=DIR] [-DINPUT_FILE=FILE] [-DOUTPUT_FILE=FILE]
#         -P run_command.cmake -- PROGRAM [ARGUMENT...]
# STDOUT and STDERR must match the whole output (carriage returns removed). With SCRIPT,
# the file is first copied into WORK_DIR under SCRIPT_NAME, which the command can then name.
# INPUT_FILE is standard input (else none); OUTPUT_FILE takes standard output (/dev/full).
set(command "")
set(seen_separator FALSE)
math(EXPR last "${CMAKE_ARGC} - 1")
foreach(index RANGE ${last})
  if(seen_separator)
    list(APPEND command "${CMAKE_ARGV${index}}")
  elseif(CMAKE_ARGV${index} STREQUAL "--")
    set(seen_separator TRUE)
  endif()
endforeach()

if(NOT WORK_DIR)
  set(WORK_DIR "${CMAKE_CURRENT_BINARY_DIR}")
endif()
file(MAKE_DIRECTORY "${WORK_DIR}")
if(SCRIPT)
  configure_file("${SCRIPT}" "${WORK_DIR}/${SCRIPT_NAME}" COPYONLY)
endif()

# Into files, not pipes: a process that the command leaves behind (Wine's own) would hold a
# pipe open, and the run would wait for it.
set(out "")
if(NOT OUTPUT_FILE)
  set(OUTPUT_FILE "${WORK_DIR}/stdout")
  set(read_output TRUE)
endif()
if(NOT INPUT_FILE)
  set(INPUT_FILE /dev/null)
endif()
execute_process(COMMAND ${command} WORKING_DIRECTORY "${WORK_DIR}" RESULT_VARIABLE status
                INPUT_FILE "${INPUT_FILE}" OUTPUT_FILE "${OUTPUT_FILE}"
                ERROR_FILE "${WORK_DIR}/stderr")
if(read_output)
  file(READ "${OUTPUT_FILE}" out)
endif()
file(READ "${WORK_DIR}/stderr" err)
string(REPLACE "\r" "" out "${out}")
string(REPLACE "\r" "" err "${err}")

set(problems "")
if(NOT status STREQUAL STATUS)
  string(APPEND problems "exit status ${status}, expected ${STATUS}\n")
endif()
if(DEFINED STDOUT AND NOT out MATCHES "^${STDOUT}$")
  string(APPEND problems "standard output does not match ^${STDOUT}$\n")
endif()
if(DEFINED STDERR AND NOT err MATCHES "^${STDERR}$")
  string(APPEND problems "standard error does not match ^${STDERR}$\n")
endif()
if(problems)
  list(JOIN command " " shown)
  message(FATAL_ERROR "${shown}\n${problems}--- standard output:\n${out}--- standard error:\n${err}")
endif()
