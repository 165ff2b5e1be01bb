# Run at install time, after every other install rule: writes the list of the files
# this install wrote, and of the folders it made, into the program's data folder.
# Each line is a path relative to that folder, so the list stays right in a DESTDIR
# stage and wherever the stage is unpacked. What an earlier install into the same
# folder listed is kept in it.

# CMake lists the installed files by their final paths, without the DESTDIR stage.
if(IS_ABSOLUTE "${QUILLET_DATA_FOLDER}")
    set(folder "${QUILLET_DATA_FOLDER}")
else()
    get_filename_component(prefix "${CMAKE_INSTALL_PREFIX}" ABSOLUTE)
    set(folder "${prefix}/${QUILLET_DATA_FOLDER}")
endif()
set(list_file "$ENV{DESTDIR}${folder}/installed-files")

set(files installed-files)
if(EXISTS "${list_file}")
    file(STRINGS "${list_file}" earlier)
    list(APPEND files ${earlier})
endif()
foreach(installed IN LISTS CMAKE_INSTALL_MANIFEST_FILES)
    file(RELATIVE_PATH relative "${folder}" "${installed}")
    list(APPEND files "${relative}")
endforeach()
# Folders end in "/"; the data folder itself goes with the uninstall in any case.
foreach(made IN LISTS QUILLET_MISSING_FOLDERS)
    file(RELATIVE_PATH relative "${folder}" "${made}")
    if(NOT relative STREQUAL "")
        string(REGEX REPLACE "/$" "" relative "${relative}")
        list(APPEND files "${relative}/")
    endif()
endforeach()
list(REMOVE_DUPLICATES files)
list(SORT files)
list(JOIN files "\n" content)

message(STATUS "Installing: ${list_file}")
file(WRITE "${list_file}" "${content}\n")
file(CHMOD "${list_file}" PERMISSIONS OWNER_READ OWNER_WRITE GROUP_READ WORLD_READ)

# CMake writes its own manifest into the build folder next; one left by an install
# as another user (root) would make that write fail.
file(REMOVE "${QUILLET_BUILD_MANIFEST}")
