# Run at install time, before any other install rule: notes in QUILLET_MISSING_FOLDERS
# which folders, from each install folder up towards the root, do not exist yet. They
# are the folders this install makes. A DESTDIR stage notes none: what its empty stage
# lacks says nothing of the machine the staged files will go to.
set(QUILLET_MISSING_FOLDERS "")
if(NOT "$ENV{DESTDIR}" STREQUAL "")
    return()
endif()
get_filename_component(prefix "${CMAKE_INSTALL_PREFIX}" ABSOLUTE)
foreach(folder IN LISTS QUILLET_INSTALL_FOLDERS)
    if(NOT IS_ABSOLUTE "${folder}")
        set(folder "${prefix}/${folder}")
    endif()
    cmake_path(SET folder NORMALIZE "${folder}")
    while(NOT folder STREQUAL "/" AND NOT EXISTS "${folder}")
        list(APPEND QUILLET_MISSING_FOLDERS "${folder}")
        get_filename_component(folder "${folder}" DIRECTORY)
    endwhile()
endforeach()
list(REMOVE_DUPLICATES QUILLET_MISSING_FOLDERS)
