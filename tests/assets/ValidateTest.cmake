# Installs the built game into a scratch prefix and runs the desktop's own validators on the
# installed desktop entry and AppStream description. Without a validator (a developer machine
# that skipped tools/install-deps.sh) the check says "Skipped:", which CTest reports as
# skipped; a validator that is there and complains fails it.
#
#   cmake -DBUILD_DIR=<build> -DWORK_DIR=<scratch folder> -DAPP_ID=<id> -DDATADIR=share
#         -P ValidateTest.cmake

cmake_minimum_required(VERSION 3.25)
foreach(var BUILD_DIR WORK_DIR APP_ID DATADIR)
    if(NOT DEFINED ${var})
        message(FATAL_ERROR "${var} is not set")
    endif()
endforeach()

find_program(DESKTOP_FILE_VALIDATE desktop-file-validate)
find_program(APPSTREAMCLI appstreamcli)
set(missing "")
if(NOT DESKTOP_FILE_VALIDATE)
    list(APPEND missing "desktop-file-validate (Debian package desktop-file-utils)")
endif()
if(NOT APPSTREAMCLI)
    list(APPEND missing "appstreamcli (Debian package appstream)")
endif()

file(REMOVE_RECURSE "${WORK_DIR}")
file(MAKE_DIRECTORY "${WORK_DIR}")
file(REAL_PATH "${WORK_DIR}" WORK_DIR)
# A blank in the prefix, as a user may choose: the Exec line must be quoted validly.
set(prefix "${WORK_DIR}/install prefix")
execute_process(COMMAND "${CMAKE_COMMAND}" --install "${BUILD_DIR}" --prefix "${prefix}"
    RESULT_VARIABLE result OUTPUT_VARIABLE output ERROR_VARIABLE output)
if(NOT result EQUAL 0)
    message(FATAL_ERROR "cmake --install failed (${result}):\n${output}")
endif()
set(desktop "${prefix}/${DATADIR}/applications/${APP_ID}.desktop")
set(metainfo "${prefix}/${DATADIR}/metainfo/${APP_ID}.metainfo.xml")

set(failures "")
# desktop-file-validate exits with 0 on warnings too; only its hints are let pass.
if(DESKTOP_FILE_VALIDATE)
    execute_process(COMMAND "${DESKTOP_FILE_VALIDATE}" "${desktop}"
        RESULT_VARIABLE result OUTPUT_VARIABLE output ERROR_VARIABLE output)
    if(NOT result EQUAL 0 OR output MATCHES "error|warning")
        string(APPEND failures "desktop-file-validate (${result}):\n${output}\n")
    endif()
endif()
# The whole installation, so that the description's launchable must find the desktop entry.
# Errors and warnings fail; --no-net: the screenshot addresses are checked, not fetched.
if(APPSTREAMCLI)
    if(NOT EXISTS "${metainfo}")
        string(APPEND failures "missing: ${metainfo}\n")
    endif()
    execute_process(COMMAND "${APPSTREAMCLI}" validate-tree --no-net --no-color "${prefix}"
        RESULT_VARIABLE result OUTPUT_VARIABLE output ERROR_VARIABLE output)
    if(NOT result EQUAL 0)
        string(APPEND failures "appstreamcli validate-tree (${result}):\n${output}\n")
    endif()
endif()

if(failures)
    message(FATAL_ERROR "Validation failed:\n${failures}")
endif()
file(REMOVE_RECURSE "${WORK_DIR}")
if(missing)
    string(JOIN ", " missing ${missing})
    message(STATUS "Skipped: not installed: ${missing}")
else()
    message(STATUS "Desktop entry and AppStream description valid")
endif()
