# Runs one scenario script with tavrix-script in a fresh folder and checks its exit status
# (0, or the one a "# exit: N" line names), that standard error holds the text of every
# "# stderr: TEXT" line, that the folder holds exactly the files a "# files: A B" line names,
# and, for each golden file that stands beside the script, that what the run gave is
# byte-identical to it: NAME.def the storyboard file out.def, NAME.out standard output (the
# dumps), NAME.err standard error (the messages), and NAME.X.png the image X.png that the
# script wrote.
# A "# options: ..." line gives the script's command-line options; a "# archives: A B" line
# copies those sprite archives from ARCHIVE_DIR into the folder before the run, and an
# "# inputs: A B" line those files from the scenarios' inputs/ folder. The golden
# files may stand in GOLDEN_DIR instead, and EXTRA_GOLDENS pairs any other file that the
# run writes with its golden ("/path/of/golden|produced").
#   cmake -DTOOL=... -DSCENARIO=... -DWORK_DIR=... [-DARCHIVE_DIR=...] [-DGOLDEN_DIR=...]
#         [-DEXTRA_GOLDENS=...] -P run_scenario.cmake
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

# Copies into the work folder the files that a "# KEY: a b" line of the script names,
# taken from FOLDER, and keeps their names in the variable KEY (not the script's own files).
function(copy_named_files key folder)
  file(STRINGS "${SCENARIO}" named_line REGEX "^# ${key}: ")
  string(REGEX REPLACE "^# ${key}: *" "" named "${named_line}")
  separate_arguments(named)
  foreach(name IN LISTS named)
    file(COPY "${folder}/${name}" DESTINATION "${WORK_DIR}")
  endforeach()
  set(${key} "${named}" PARENT_SCOPE)
endfunction()

get_filename_component(directory "${SCENARIO}" DIRECTORY)
copy_named_files(archives "${ARCHIVE_DIR}")
copy_named_files(inputs "${directory}/inputs")

# The script runs under its own name, so that its messages do not depend on the folder.
get_filename_component(script_name "${SCENARIO}" NAME)
file(COPY "${SCENARIO}" DESTINATION "${WORK_DIR}")
execute_process(COMMAND "${TOOL}" ${options} "${script_name}"
                WORKING_DIRECTORY "${WORK_DIR}"
                RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE err)
if(NOT status EQUAL expected_status)
  message(FATAL_ERROR "exit status ${status} (expected ${expected_status})\n${err}")
endif()

file(STRINGS "${SCENARIO}" stderr_lines REGEX "^# stderr: ")
foreach(stderr_line IN LISTS stderr_lines)
  string(REGEX REPLACE "^# stderr: " "" wanted "${stderr_line}")
  string(FIND "${err}" "${wanted}" at)
  if(at EQUAL -1)
    message(FATAL_ERROR "missing from the messages: ${wanted}\n${err}")
  endif()
endforeach()

file(STRINGS "${SCENARIO}" files_line REGEX "^# files:")
if(files_line)
  string(REGEX REPLACE "^# files: *" "" wanted "${files_line}")
  separate_arguments(wanted)
  list(SORT wanted)
  file(GLOB found RELATIVE "${WORK_DIR}" "${WORK_DIR}/*" "${WORK_DIR}/.*")
  list(REMOVE_ITEM found "${script_name}" ${archives} ${inputs})
  list(SORT found)
  if(NOT found STREQUAL wanted)
    message(FATAL_ERROR "files in the folder: ${found} (expected ${wanted})")
  endif()
endif()

if(GOLDEN_DIR)
  set(directory "${GOLDEN_DIR}")
endif()
get_filename_component(name "${SCENARIO}" NAME_WE)
file(WRITE "${WORK_DIR}/stdout" "${out}")
file(WRITE "${WORK_DIR}/stderr" "${err}")
set(pairs "def|out.def" "out|stdout" "err|stderr")
file(GLOB images RELATIVE "${directory}" "${directory}/${name}.*.png")
foreach(image IN LISTS images)
  string(REGEX REPLACE "^${name}\\." "" produced "${image}")
  list(APPEND pairs "${produced}|${produced}")
endforeach()
foreach(pair IN LISTS EXTRA_GOLDENS)
  list(APPEND pairs "${pair}")
endforeach()
foreach(pair IN LISTS pairs)
  string(REPLACE "|" ";" pair "${pair}")
  list(GET pair 0 extension)
  list(GET pair 1 produced)
  set(golden "${directory}/${name}.${extension}")
  if(IS_ABSOLUTE "${extension}")
    set(golden "${extension}")
  endif()
  if(EXISTS "${golden}")
    execute_process(COMMAND "${CMAKE_COMMAND}" -E compare_files "${WORK_DIR}/${produced}" "${golden}"
                    RESULT_VARIABLE differs)
    if(differs)
      message(FATAL_ERROR "${WORK_DIR}/${produced} differs from ${golden}")
    endif()
  endif()
endforeach()
