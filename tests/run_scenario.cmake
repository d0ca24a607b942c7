# Runs one scenario script with tavrix-script (and the options of its "# options: ..." line)
# in a fresh folder and checks its exit status (0, or the one a "# exit: N" line names) and,
# when NAME.def stands beside the script, that the storyboard file out.def is byte-identical
# to it.
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

execute_process(COMMAND "${TOOL}" ${options} "${SCENARIO}"
                WORKING_DIRECTORY "${WORK_DIR}"
                RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE err)
if(NOT status EQUAL expected_status)
  message(FATAL_ERROR "exit status ${status} (expected ${expected_status})\n${err}")
endif()

get_filename_component(directory "${SCENARIO}" DIRECTORY)
get_filename_component(name "${SCENARIO}" NAME_WE)
set(expected_file "${directory}/${name}.def")
if(EXISTS "${expected_file}")
  execute_process(COMMAND "${CMAKE_COMMAND}" -E compare_files "${WORK_DIR}/out.def" "${expected_file}"
                  RESULT_VARIABLE differs)
  if(differs)
    message(FATAL_ERROR "out.def differs from ${expected_file}")
  endif()
endif()
