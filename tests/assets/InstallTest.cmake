# Installs the built game into a scratch prefix and checks what a desktop needs: the files in
# their places, the desktop entry and the AppStream description agreeing with each other and
# with the installation, and the launcher that sets up each user's folder. (The desktop's own
# validators run in ValidateTest.cmake.)
#
#   cmake -DBUILD_DIR=<build> -DWORK_DIR=<scratch folder> -DSOURCE_DIR=<repository>
#         -DAPP_ID=<id> -DVERSION=<x.y.z> -DBINDIR=bin -DLIBEXECDIR=libexec -DDATADIR=share
#         -P InstallTest.cmake

cmake_minimum_required(VERSION 3.25)
foreach(var BUILD_DIR WORK_DIR SOURCE_DIR APP_ID VERSION BINDIR LIBEXECDIR DATADIR)
    if(NOT DEFINED ${var})
        message(FATAL_ERROR "${var} is not set")
    endif()
endforeach()

set(SOURCE_ASSETS "${SOURCE_DIR}/assets")
set(failures "")
macro(fail text)
    string(APPEND failures "  ${text}\n")
endmacro()
macro(expect_same actual expected)
    if(NOT EXISTS "${actual}")
        fail("missing: ${actual}")
    else()
        execute_process(COMMAND "${CMAKE_COMMAND}" -E compare_files "${actual}" "${expected}"
            RESULT_VARIABLE different)
        if(different)
            fail("${actual} differs from ${expected}")
        endif()
    endif()
endmacro()

# What the game reads from its folder; the icon for Windows is shipped beside them.
set(game_files en.lang de.lang bg.lang dice.wav pvp_0.jpg pvc_0.jpg rules.txt quintaro.png)

file(REMOVE_RECURSE "${WORK_DIR}")
file(MAKE_DIRECTORY "${WORK_DIR}")
file(REAL_PATH "${WORK_DIR}" WORK_DIR)
# A blank in the prefix checks the quoting of the desktop entry and of the launcher.
set(prefix "${WORK_DIR}/install prefix")

execute_process(COMMAND "${CMAKE_COMMAND}" --install "${BUILD_DIR}" --prefix "${prefix}"
    RESULT_VARIABLE result OUTPUT_VARIABLE output ERROR_VARIABLE output)
if(NOT result EQUAL 0)
    message(FATAL_ERROR "cmake --install failed (${result}):\n${output}")
endif()

# --- The installed files ---------------------------------------------------------------------

set(launcher "${prefix}/${BINDIR}/quintaro")
set(program "${prefix}/${LIBEXECDIR}/quintaro/quintaro")
set(data "${prefix}/${DATADIR}/quintaro")
set(desktop "${prefix}/${DATADIR}/applications/${APP_ID}.desktop")
set(metainfo "${prefix}/${DATADIR}/metainfo/${APP_ID}.metainfo.xml")
foreach(path "${launcher}" "${program}" "${desktop}")
    if(NOT EXISTS "${path}")
        fail("missing: ${path}")
    endif()
endforeach()
foreach(name IN LISTS game_files ITEMS quintaro.ico)
    expect_same("${data}/${name}" "${SOURCE_ASSETS}/${name}")
endforeach()
expect_same("${prefix}/${DATADIR}/icons/hicolor/32x32/apps/quintaro.png"
    "${SOURCE_ASSETS}/quintaro.png")
expect_same("${prefix}/${DATADIR}/icons/hicolor/128x128/apps/quintaro.png"
    "${SOURCE_ASSETS}/quintaro-128.png")
expect_same("${metainfo}" "${SOURCE_ASSETS}/${APP_ID}.metainfo.xml")
if(failures)
    message(FATAL_ERROR "Installation incomplete:\n${failures}")
endif()

# --- The desktop entry -----------------------------------------------------------------------

# Split into lines by hand: file(STRINGS) would also split at the semicolons of the values.
file(READ "${desktop}" content)
string(REPLACE ";" "@SEMICOLON@" content "${content}")
string(REPLACE "\r" "" content "${content}")
string(REPLACE "\n" ";" lines "${content}")
list(GET lines 0 first)
if(NOT first STREQUAL "[Desktop Entry]")
    fail("desktop entry does not start with [Desktop Entry]: ${first}")
endif()
list(REMOVE_AT lines 0)
set(keys "")
foreach(line IN LISTS lines)
    string(REPLACE "@SEMICOLON@" ";" line "${line}")
    if(line STREQUAL "" OR line MATCHES "^#")
        continue()
    endif()
    if(NOT line MATCHES "^([A-Za-z0-9-]+)(\\[[A-Za-z_@.]+\\])?=(.*)$")
        fail("not a key=value line in the desktop entry: ${line}")
        continue()
    endif()
    set(key "${CMAKE_MATCH_1}${CMAKE_MATCH_2}")
    if(key IN_LIST keys)
        fail("key twice in the desktop entry: ${key}")
    endif()
    list(APPEND keys "${key}")
    set(entry_${key} "${CMAKE_MATCH_3}")
endforeach()
# StartupWMClass is the window class the game's windows carry under X11 (the application
# name), by which the desktop matches them to this entry.
foreach(check
        "Type|Application" "Name|Quintaro" "Icon|quintaro" "Terminal|false"
        "Exec|\"${launcher}\"" "StartupWMClass|Quintaro")
    string(REPLACE "|" ";" check "${check}")
    list(GET check 0 key)
    list(GET check 1 expected)
    if(NOT "${entry_${key}}" STREQUAL "${expected}")
        fail("desktop entry ${key} is '${entry_${key}}', expected '${expected}'")
    endif()
endforeach()
if(NOT entry_Categories MATCHES "(^|;)Game;" OR NOT entry_Categories MATCHES ";$")
    fail("desktop entry Categories '${entry_Categories}' lacks Game or the closing ;")
endif()
# Translated, but the game's name is the same in every language.
foreach(lang de bg)
    foreach(key GenericName Comment)
        set(key "${key}[${lang}]")
        if("${entry_${key}}" STREQUAL "")
            fail("desktop entry has no ${key}")
        endif()
    endforeach()
    set(key "Name[${lang}]")
    if(DEFINED "entry_${key}" AND NOT "${entry_${key}}" STREQUAL "Quintaro")
        fail("desktop entry ${key} is '${entry_${key}}', expected 'Quintaro'")
    endif()
endforeach()

# --- The AppStream description ---------------------------------------------------------------

# Software centres find the desktop entry by the description's launchable and match the
# description to the program by the binary it provides (the launcher, bin/quintaro).
file(READ "${SOURCE_ASSETS}/${APP_ID}.metainfo.xml" info)
foreach(check
        "<id>${APP_ID}</id>"
        "<launchable type=\"desktop-id\">${APP_ID}.desktop</launchable>"
        "<binary>quintaro</binary>"
        "<release version=\"${VERSION}\"")
    string(FIND "${info}" "${check}" at)
    if(at EQUAL -1)
        fail("the AppStream description lacks ${check}")
    endif()
endforeach()

# Each screenshot is a PNG of docs/screenshots/, as served from this release's tag, of the size
# the description gives; and every file there is shown.
string(REGEX MATCHALL "<image[^>]*>[^<]*</image>" images "${info}")
if(NOT images)
    fail("the AppStream description shows no screenshots")
endif()
set(shown "")
foreach(image IN LISTS images)
    if(NOT image MATCHES ">https://[^<]*/v${VERSION}/docs/screenshots/([^/<]+\\.png)</image>$")
        fail("screenshot not under the v${VERSION} tag's docs/screenshots/: ${image}")
        continue()
    endif()
    set(name "${CMAKE_MATCH_1}")
    set(picture "${SOURCE_DIR}/docs/screenshots/${name}")
    list(APPEND shown "${name}")
    if(NOT EXISTS "${picture}")
        fail("screenshot ${name} is not in docs/screenshots/")
        continue()
    endif()
    # The signature, then the header chunk's width and height, 4 bytes each, big-endian.
    file(READ "${picture}" header HEX LIMIT 24)
    set(word "[0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f]")
    if(NOT header MATCHES "^89504e470d0a1a0a0000000d49484452(${word})(${word})$")
        fail("docs/screenshots/${name} is not a PNG")
        continue()
    endif()
    math(EXPR width "0x${CMAKE_MATCH_1}")
    math(EXPR height "0x${CMAKE_MATCH_2}")
    if(NOT image MATCHES "width=\"${width}\" height=\"${height}\"")
        fail("screenshot ${name} is ${width} x ${height}, the description says otherwise: ${image}")
    endif()
endforeach()
# Only the pictures of the folder itself: docs/screenshots/windows/ belongs to the Windows edition.
file(GLOB pictures LIST_DIRECTORIES false RELATIVE "${SOURCE_DIR}/docs/screenshots"
    "${SOURCE_DIR}/docs/screenshots/*")
foreach(picture IN LISTS pictures)
    if(NOT picture IN_LIST shown)
        fail("docs/screenshots/${picture} is not shown by the AppStream description")
    endif()
endforeach()

# --- The launcher ----------------------------------------------------------------------------

# A stand-in for the game that reports where it was started and with which arguments.
set(report "${WORK_DIR}/report.txt")
file(WRITE "${program}" "#!/bin/sh\n{ pwd; for a in \"$@\"; do echo \"<$a>\"; done; } > \"$QUINTARO_TEST_REPORT\"\n")
file(CHMOD "${program}" PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE)

# run_launcher(<command> <expected folder> ENV <variables...>)
function(run_launcher command expected_dir)
    cmake_parse_arguments(R "" "" "ENV" ${ARGN})
    file(REMOVE "${report}")
    execute_process(
        COMMAND "${CMAKE_COMMAND}" -E env --unset=XDG_DATA_HOME
            "QUINTARO_TEST_REPORT=${report}" ${R_ENV} "${command}" "two words" "--x"
        RESULT_VARIABLE result OUTPUT_VARIABLE output ERROR_VARIABLE output)
    if(NOT result EQUAL 0)
        message(FATAL_ERROR "launcher failed (${result}): ${output}")
    endif()
    if(NOT EXISTS "${report}")
        message(FATAL_ERROR "launcher did not start the game: ${output}")
    endif()
    file(STRINGS "${report}" reported)
    set(expected "${expected_dir};<two words>;<--x>")
    if(NOT reported STREQUAL expected)
        message(FATAL_ERROR "game started as '${reported}', expected '${expected}'")
    endif()
endfunction()

# First start: the folder is made and filled.
set(user "${WORK_DIR}/data/quintaro")
run_launcher("${launcher}" "${user}" ENV "XDG_DATA_HOME=${WORK_DIR}/data" "HOME=${WORK_DIR}/home")
foreach(name IN LISTS game_files)
    expect_same("${user}/${name}" "${data}/${name}")
endforeach()

# Later start: settings.ini and a file the user changed since are left alone; an outdated
# copy is refreshed and a missing one restored.
set(settings_text "lang = de\r\ndelay = 2000\r\n")
file(WRITE "${user}/settings.ini" "${settings_text}")
file(WRITE "${user}/en.lang" "outdated")
execute_process(COMMAND touch -d "2001-01-01 00:00:00" "${user}/en.lang")
file(WRITE "${user}/de.lang" "changed by the user")
file(REMOVE "${user}/dice.wav")
run_launcher("${launcher}" "${user}" ENV "XDG_DATA_HOME=${WORK_DIR}/data" "HOME=${WORK_DIR}/home")
# Compared as hex: reading as text would drop the carriage returns.
file(READ "${user}/settings.ini" settings HEX)
string(HEX "${settings_text}" settings_hex)
if(NOT settings STREQUAL settings_hex)
    fail("settings.ini was changed: ${settings}")
endif()
file(READ "${user}/de.lang" kept)
if(NOT kept STREQUAL "changed by the user")
    fail("a file the user changed after the installation was overwritten")
endif()
expect_same("${user}/en.lang" "${data}/en.lang")
expect_same("${user}/dice.wav" "${data}/dice.wav")
file(GLOB leftovers "${user}/*.partial.*")
if(leftovers)
    fail("partial copies left behind: ${leftovers}")
endif()

# Without XDG_DATA_HOME, or with a relative one, the folder is under HOME; a symbolic link to
# the launcher finds the installation all the same.
set(home_user "${WORK_DIR}/home/.local/share/quintaro")
file(MAKE_DIRECTORY "${WORK_DIR}/links")
file(CREATE_LINK "${launcher}" "${WORK_DIR}/links/quintaro" SYMBOLIC)
run_launcher("${WORK_DIR}/links/quintaro" "${home_user}" ENV "HOME=${WORK_DIR}/home")
run_launcher("${launcher}" "${home_user}" ENV "XDG_DATA_HOME=relative/data" "HOME=${WORK_DIR}/home")
expect_same("${home_user}/rules.txt" "${data}/rules.txt")

if(failures)
    message(FATAL_ERROR "Installation checks failed:\n${failures}")
endif()
file(REMOVE_RECURSE "${WORK_DIR}")
message(STATUS "Installation checks passed")
