# The generators, run again, make exactly the committed sound, pictures and icon: the files
# in assets/ are reproducible from their sources.
#
#   cmake -DWORK_DIR=<scratch folder> -DSOURCE_ASSETS=<repository>/assets
#         -DGENERATORS=<sound>|<pictures>|<icon> -P RegenerateTest.cmake

cmake_minimum_required(VERSION 3.25)
foreach(var WORK_DIR SOURCE_ASSETS GENERATORS)
    if(NOT DEFINED ${var})
        message(FATAL_ERROR "${var} is not set")
    endif()
endforeach()

file(REMOVE_RECURSE "${WORK_DIR}")
file(MAKE_DIRECTORY "${WORK_DIR}")
string(REPLACE "|" ";" generators "${GENERATORS}")
foreach(generator IN LISTS generators)
    execute_process(COMMAND "${generator}" "${WORK_DIR}"
        RESULT_VARIABLE result OUTPUT_QUIET ERROR_VARIABLE errors)
    if(NOT result EQUAL 0)
        message(FATAL_ERROR "${generator} failed (${result}): ${errors}")
    endif()
endforeach()

set(failures "")
foreach(name dice.wav pvp_0.jpg pvc_0.jpg quintaro.ico quintaro.png quintaro-128.png)
    if(NOT EXISTS "${WORK_DIR}/${name}")
        string(APPEND failures "  ${name}: not generated\n")
        continue()
    endif()
    execute_process(COMMAND "${CMAKE_COMMAND}" -E compare_files
        "${WORK_DIR}/${name}" "${SOURCE_ASSETS}/${name}" RESULT_VARIABLE different)
    if(different)
        string(APPEND failures "  ${name}: differs from the committed file\n")
    endif()
endforeach()
if(failures)
    message(FATAL_ERROR "Generated files do not match assets/:\n${failures}")
endif()
file(REMOVE_RECURSE "${WORK_DIR}")
message(STATUS "All generated files match assets/")
