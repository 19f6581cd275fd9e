# Build step: packs the whole content of PAYLOAD_DIR into the 7z archive ARCHIVE with 7-Zip for
# Linux (SEVEN_ZIP), the file data encrypted (7zAES) under PASSWORD.
# Usage: cmake -DSEVEN_ZIP=... -DPASSWORD=... -DPAYLOAD_DIR=... -DARCHIVE=... -P make_archive.cmake
foreach(var SEVEN_ZIP PASSWORD PAYLOAD_DIR ARCHIVE)
    if(NOT DEFINED ${var})
        message(FATAL_ERROR "make_archive.cmake: ${var} is not set")
    endif()
endforeach()
if(NOT IS_DIRECTORY "${PAYLOAD_DIR}")
    message(FATAL_ERROR "The payload folder ${PAYLOAD_DIR} does not exist")
endif()

# 7-Zip adds to an existing archive, so an old one would keep files that left the folder.
set(partial "${ARCHIVE}.partial")
file(REMOVE "${ARCHIVE}" "${partial}")
# "." from inside the folder stores every entry (hidden ones too) relative to the folder, so the
# folder's content becomes the archive's root. A UTF-8 locale keeps non-ASCII names intact.
execute_process(
    COMMAND ${CMAKE_COMMAND} -E env LC_ALL=C.UTF-8
            "${SEVEN_ZIP}" a -t7z "-p${PASSWORD}" -mhe=off -bso0 -bsp0 -- "${partial}" .
    WORKING_DIRECTORY "${PAYLOAD_DIR}"
    RESULT_VARIABLE result)
if(NOT result EQUAL 0)
    file(REMOVE "${partial}")
    message(FATAL_ERROR "7-Zip could not archive ${PAYLOAD_DIR} (exit ${result})")
endif()
file(RENAME "${partial}" "${ARCHIVE}")
