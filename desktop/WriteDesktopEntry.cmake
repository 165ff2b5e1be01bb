# Run at install time: writes the desktop entry with the path of the program as
# installed under this install's prefix (which --prefix may choose then), so the
# menu starts it whether or not <prefix>/<bindir> is on the PATH.
get_filename_component(prefix "${CMAKE_INSTALL_PREFIX}" ABSOLUTE)
# GNUInstallDirs folders are relative to the prefix unless given absolute.
function(under_prefix folder result)
    if(IS_ABSOLUTE "${folder}")
        set(${result} "${folder}" PARENT_SCOPE)
    else()
        set(${result} "${prefix}/${folder}" PARENT_SCOPE)
    endif()
endfunction()
under_prefix("${QUILLET_BINDIR}" bindir)
under_prefix("${QUILLET_APPLICATIONS_DIR}" applications)
set(program "${bindir}/quillet")

# Exec: inside double quotes ", `, $ and \ take a backslash; then every backslash
# is doubled as in any string value, and % is written %%.
set(quoted "")
string(LENGTH "${program}" length)
math(EXPR last "${length} - 1")
foreach(i RANGE ${last})
    string(SUBSTRING "${program}" ${i} 1 c)
    if(c STREQUAL "\"" OR c STREQUAL "`" OR c STREQUAL "$" OR c STREQUAL "\\")
        string(APPEND quoted "\\")
    endif()
    string(APPEND quoted "${c}")
endforeach()
string(REPLACE "\\" "\\\\" quoted "${quoted}")
string(REPLACE "%" "%%" quoted "${quoted}")
set(QUILLET_EXEC "\"${quoted}\"")
string(REPLACE "\\" "\\\\" QUILLET_TRY_EXEC "${program}")

# Written straight into place: a copy staged in the build folder would be shared by
# installs running at once, or left to another user (root) by an earlier install.
file(READ "${QUILLET_DESKTOP_TEMPLATE}" template)
string(CONFIGURE "${template}" content @ONLY)
set(entry "${applications}/${QUILLET_DESKTOP_NAME}")
message(STATUS "Installing: $ENV{DESTDIR}${entry}")
file(WRITE "$ENV{DESTDIR}${entry}" "${content}")
file(CHMOD "$ENV{DESTDIR}${entry}" PERMISSIONS OWNER_READ OWNER_WRITE GROUP_READ WORLD_READ)
list(APPEND CMAKE_INSTALL_MANIFEST_FILES "${entry}")
