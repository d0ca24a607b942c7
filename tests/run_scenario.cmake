# Runs one scenario script with tavrix-script in a fresh folder and checks its exit status
# (0, or the one a "# exit: N" line names) and, for each golden file that stands beside the
# script, that what the run gave is byte-identical to it: NAME.def the storyboard file
# out.def, NAME.out standard output (the dumps), NAME.err standard error (the messages).
# A "# options: ..." line gives the script's command-line options.
#   cmake -DTOOL=... -DSCENARIO=... -DWORK_DIR=... -P run_scenario.cmake
file(REMOVE_RECURSE "${WORK_DIR}")
file(MAKE_DIRECTORY "${WORK_DIR}")

file(STRINGS "${SCENARIO}" exit_line REGEX "^# exit: [0-9]+$")
set(expected_status 0)
if(exit_line)
  string(REGEX REPLACE "^# exit: " "" expected_status "${exit_line}")
endif()

file(STRINGS "${SCENARIO}" options_line REGEX "^# options: ")
string(REGEX REPLACE "^# options: " "" options "${options_line}")
separate_arguments(options UNIX_COMMAND "${options}")

# The script runs under its own name, so that its messages do not depend on the folder.
get_filename_component(script_name "${SCENARIO}" NAME)
file(COPY "${SCENARIO}" DESTINATION "${WORK_DIR}")
execute_process(COMMAND "${TOOL}" ${options} "${script_name}"
                WORKING_DIRECTORY "${WORK_DIR}"
                RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE err)
if(NOT status EQUAL expected_status)
  message(FATAL_ERROR "exit status ${status} (expected ${expected_status})\n${err}")
endif()

get_filename_component(directory "${SCENARIO}" DIRECTORY)
get_filename_component(name "${SCENARIO}" NAME_WE)
file(WRITE "${WORK_DIR}/stdout" "${out}")
file(WRITE "${WORK_DIR}/stderr" "${err}")
foreach(pair IN ITEMS "def|out.def" "out|stdout" "err|stderr")
  string(REPLACE "|" ";" pair "${pair}")
  list(GET pair 0 extension)
  list(GET pair 1 produced)
  set(golden "${directory}/${name}.${extension}")
  if(EXISTS "${golden}")
    execute_process(COMMAND "${CMAKE_COMMAND}" -E compare_files "${WORK_DIR}/${produced}" "${golden}"
                    RESULT_VARIABLE differs)
    if(differs)
      message(FATAL_ERROR "${WORK_DIR}/${produced} differs from ${golden}")
    endif()
  endif()
endforeach()
