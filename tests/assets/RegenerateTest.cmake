# The generators, run again, make the committed sound, pictures and icon: the files in
# assets/ are reproducible from their sources. Antialiased pictures and the sound may differ
# in their last bits from one processor to another; COMPARE allows for that and nothing more.
#
#   cmake -DWORK_DIR=<scratch folder> -DSOURCE_ASSETS=<repository>/assets
#         -DGENERATORS=<sound>|<pictures>|<icon> -DCOMPARE=<quintaro_asset_compare>
#         -P RegenerateTest.cmake

cmake_minimum_required(VERSION 3.25)
foreach(var WORK_DIR SOURCE_ASSETS GENERATORS COMPARE)
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
    execute_process(COMMAND "${COMPARE}" "${WORK_DIR}/${name}" "${SOURCE_ASSETS}/${name}"
        RESULT_VARIABLE different OUTPUT_VARIABLE figures)
    message(STATUS "${figures}")
    if(NOT different EQUAL 0)
        string(APPEND failures "  ${name}: differs from the committed file\n")
    endif()
endforeach()
# The limits let a few edge pixels two levels apart through, and still catch another drawing
# of the same size and format and the icon moved by one pixel.
find_program(CONVERT convert)
set(variants "pvp_0.jpg|pvc_0.jpg|1")
if(CONVERT)
    execute_process(COMMAND "${CONVERT}" "${WORK_DIR}/quintaro-128.png"
        -region 30x1+20+64 -evaluate Add 0.8% +region "PNG32:${WORK_DIR}/edges.png")
    execute_process(COMMAND "${CONVERT}" "${WORK_DIR}/quintaro-128.png"
        -roll +1+0 "PNG32:${WORK_DIR}/moved.png")
    list(APPEND variants "edges.png|quintaro-128.png|0" "moved.png|quintaro-128.png|1")
endif()
foreach(variant IN LISTS variants)
    string(REPLACE "|" ";" variant "${variant}")
    list(GET variant 0 changed)
    list(GET variant 1 committed)
    list(GET variant 2 expected)
    execute_process(COMMAND "${COMPARE}" "${WORK_DIR}/${changed}" "${SOURCE_ASSETS}/${committed}"
        RESULT_VARIABLE different OUTPUT_QUIET)
    if(NOT different EQUAL expected)
        string(APPEND failures "  ${changed} against ${committed}: ${different}, not ${expected}\n")
    endif()
endforeach()
if(failures)
    message(FATAL_ERROR "Generated files do not match assets/:\n${failures}")
endif()
file(REMOVE_RECURSE "${WORK_DIR}")
message(STATUS "All generated files match assets/")
