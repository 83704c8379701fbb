# Runs during `cmake --install`: fills in the desktop entry with the launcher's full path
# under the install prefix and installs it into share/applications.
#
# Set by assets/CMakeLists.txt before this script runs: QUINTARO_DESKTOP_TEMPLATE,
# QUINTARO_DESKTOP_WORK, QUINTARO_BINDIR, QUINTARO_APPLICATIONS_DIR.

foreach(dir BINDIR APPLICATIONS_DIR)
    if(IS_ABSOLUTE "${QUINTARO_${dir}}")
        set(full_${dir} "${QUINTARO_${dir}}")
    else()
        set(full_${dir} "${CMAKE_INSTALL_PREFIX}/${QUINTARO_${dir}}")
    endif()
endforeach()

# An Exec argument with blanks or reserved characters must be quoted, and inside the quotes
# the characters " ` $ and \ are escaped with a backslash.
set(QUINTARO_EXEC "${full_BINDIR}/quintaro")
if(QUINTARO_EXEC MATCHES "[] \t\n\"'\\\\><~|&;$*?#()`]")
    string(REPLACE "\\" "\\\\" QUINTARO_EXEC "${QUINTARO_EXEC}")
    string(REPLACE "\"" "\\\"" QUINTARO_EXEC "${QUINTARO_EXEC}")
    string(REPLACE "`" "\\`" QUINTARO_EXEC "${QUINTARO_EXEC}")
    string(REPLACE "$" "\\$" QUINTARO_EXEC "${QUINTARO_EXEC}")
    set(QUINTARO_EXEC "\"${QUINTARO_EXEC}\"")
    # The desktop entry format escapes a backslash once more at the string level.
    string(REPLACE "\\" "\\\\" QUINTARO_EXEC "${QUINTARO_EXEC}")
endif()

# A percent sign would start a field code.
string(REPLACE "%" "%%" QUINTARO_EXEC "${QUINTARO_EXEC}")

configure_file("${QUINTARO_DESKTOP_TEMPLATE}" "${QUINTARO_DESKTOP_WORK}" @ONLY)
file(INSTALL DESTINATION "${full_APPLICATIONS_DIR}" TYPE FILE FILES "${QUINTARO_DESKTOP_WORK}")
