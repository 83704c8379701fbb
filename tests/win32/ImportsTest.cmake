# The libraries the game's program imports are loaded before its first window shows, so the
# list is kept to what that window needs. The rest (the common controls, COM, the shell, the
# accessibility libraries, DirectSound) is loaded when first used.
#   cmake -DOBJDUMP=... -DPROGRAM=quintaro.exe -P ImportsTest.cmake
set(allowed GDI32.dll KERNEL32.dll msvcrt.dll USER32.dll UxTheme.dll)
execute_process(COMMAND ${OBJDUMP} -p ${PROGRAM} OUTPUT_VARIABLE dump RESULT_VARIABLE failed)
if(failed)
    message(FATAL_ERROR "${OBJDUMP} could not read ${PROGRAM}")
endif()
string(REGEX MATCHALL "DLL Name: [^\n]+" lines "${dump}")
set(imported)
foreach(line ${lines})
    string(REPLACE "DLL Name: " "" name "${line}")
    string(STRIP "${name}" name)
    list(APPEND imported ${name})
endforeach()
list(SORT imported CASE INSENSITIVE)
list(SORT allowed CASE INSENSITIVE)
if(NOT imported STREQUAL allowed)
    message(FATAL_ERROR "quintaro.exe imports ${imported}; expected ${allowed}. A library the "
        "first window does not need is loaded when first used (win32/SystemFunction.h, "
        "win32/CommonControls.h).")
endif()
