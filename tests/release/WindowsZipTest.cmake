# Unpacks the Windows zip into an empty folder, checks that it holds exactly the program and
# the game's files, and starts the game from there under Wine: its new-game dialog must come
# up (titled as en.lang says) and the game must end by itself, exit code 0, when the dialog
# is closed.
#
#   cmake -DZIP=<quintaro-windows-x64.zip> -DWORK_DIR=<scratch folder> -DFILES=<a>|<b>|...
#         -DRUN=<tools/wine-run.sh> -DCHECK=<quintaro_start_check.exe> -P WindowsZipTest.cmake

cmake_minimum_required(VERSION 3.25)
foreach(var ZIP WORK_DIR FILES RUN CHECK)
    if(NOT DEFINED ${var})
        message(FATAL_ERROR "${var} is not set")
    endif()
endforeach()
if(NOT EXISTS "${ZIP}")
    message(FATAL_ERROR "${ZIP} is missing")
endif()

file(REMOVE_RECURSE "${WORK_DIR}")
set(folder "${WORK_DIR}/quintaro")
file(MAKE_DIRECTORY "${folder}")
execute_process(COMMAND "${CMAKE_COMMAND}" -E tar xf "${ZIP}"
    WORKING_DIRECTORY "${folder}" RESULT_VARIABLE result ERROR_VARIABLE errors)
if(NOT result EQUAL 0)
    message(FATAL_ERROR "cannot unpack ${ZIP}: ${errors}")
endif()

string(REPLACE "|" ";" expected "${FILES}")
list(SORT expected)
file(GLOB_RECURSE unpacked LIST_DIRECTORIES false RELATIVE "${folder}" "${folder}/*")
list(SORT unpacked)
if(NOT unpacked STREQUAL expected)
    message(FATAL_ERROR "The zip holds:\n  ${unpacked}\nexpected:\n  ${expected}")
endif()

# The dialog's title, as the game reads it from the packed English texts.
file(STRINGS "${folder}/en.lang" line REGEX "^gameMode *=")
string(REGEX REPLACE "^gameMode *= *" "" title "${line}")
string(STRIP "${title}" title)
if(title STREQUAL "")
    message(FATAL_ERROR "en.lang names no gameMode")
endif()

# Wine sees the Linux root as drive Z:.
string(REPLACE "/" "\\" windows_folder "Z:${folder}")
execute_process(COMMAND sh "${RUN}" "${CHECK}" "${windows_folder}" "${title}"
    RESULT_VARIABLE result OUTPUT_VARIABLE output ERROR_VARIABLE errors)
message(STATUS "${output}")
if(NOT result EQUAL 0)
    message(FATAL_ERROR "The packed game did not start and close cleanly (${result}):\n"
        "${output}${errors}")
endif()
file(REMOVE_RECURSE "${WORK_DIR}")
