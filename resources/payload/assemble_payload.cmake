# Build step: lays out the sample payload folder DEST from the committed SOURCE tree and the built
# sample programs, then touches STAMP. PROGRAMS holds "<path in payload>=<built file>" entries
# separated by "|".
foreach(var SOURCE DEST PROGRAMS STAMP)
    if(NOT DEFINED ${var})
        message(FATAL_ERROR "assemble_payload.cmake: ${var} is not set")
    endif()
endforeach()

# Made afresh every time so that nothing removed from the sources lingers in the archive.
file(REMOVE_RECURSE "${DEST}")
file(MAKE_DIRECTORY "${DEST}")
file(COPY "${SOURCE}/" DESTINATION "${DEST}")
string(REPLACE "|" ";" programs "${PROGRAMS}")
foreach(entry IN LISTS programs)
    string(REGEX REPLACE "=.*" "" relative "${entry}")
    string(REGEX REPLACE "^[^=]*=" "" built "${entry}")
    get_filename_component(parent "${DEST}/${relative}" DIRECTORY)
    file(MAKE_DIRECTORY "${parent}")
    file(COPY_FILE "${built}" "${DEST}/${relative}" ONLY_IF_DIFFERENT)
endforeach()
file(TOUCH "${STAMP}")
