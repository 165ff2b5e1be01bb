# Run at install time: writes the desktop entry with the path of the program as
# installed under this install's prefix (which --prefix may choose then), so the
# menu starts it whether or not <prefix>/bin is on the PATH.
get_filename_component(prefix "${CMAKE_INSTALL_PREFIX}" ABSOLUTE)
set(program "${prefix}/bin/quillet")

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

configure_file("${QUILLET_DESKTOP_TEMPLATE}" "${QUILLET_DESKTOP_STAGING}" @ONLY)
file(INSTALL DESTINATION "${CMAKE_INSTALL_PREFIX}/share/applications" TYPE FILE FILES "${QUILLET_DESKTOP_STAGING}")
