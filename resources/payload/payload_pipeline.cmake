# The payload pipeline: a payload folder becomes USB.7z (7-Zip for Linux, file data encrypted),
# and the archive, 7z.exe and 7z.dll become ByteSet constants in a static library.

# Cache entries, so that the functions work from every directory (the tests make archives too).
set(_tov_payload_scripts ${CMAKE_CURRENT_LIST_DIR} CACHE INTERNAL "")
# The program passes this password in the extractor's command line; the archive must match it.
set(TOVUSB_ARCHIVE_PASSWORD k537204968 CACHE INTERNAL "")
# The cluster that the unpacked size counts every file in: a file takes whole clusters on the
# work directory's drive, and 4 KB is what NTFS and the RAM disk of Windows PE use.
set(TOVUSB_PAYLOAD_CLUSTER 4096 CACHE INTERNAL "")

find_program(TOVUSB_7ZZ NAMES 7zz DOC "7-Zip for Linux (Debian package 7zip), which builds USB.7z")
if(NOT TOVUSB_7ZZ)
    message(FATAL_ERROR "7zz (7-Zip for Linux) not found: run scripts/setup")
endif()

# tov_index_tool(COMMAND_VARIABLE var DEPENDS_VARIABLE var): the index maker and payload check
# (tools/index) as a command this build can run, and what a rule that runs it depends on. A cross
# build makes it in a nested native build of tools/index, with the host's default compiler.
function(tov_index_tool)
    cmake_parse_arguments(P "" "COMMAND_VARIABLE;DEPENDS_VARIABLE" "" ${ARGN})
    if(NOT CMAKE_CROSSCOMPILING)
        set(${P_COMMAND_VARIABLE} $<TARGET_FILE:tovusb-index> PARENT_SCOPE)
        set(${P_DEPENDS_VARIABLE} tovusb-index PARENT_SCOPE)
        return()
    endif()
    set(host_dir ${CMAKE_BINARY_DIR}/host-index)
    set(command ${host_dir}/tovusb-index)
    if(NOT TARGET tov_host_index)
        file(GLOB inputs CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tools/index/* ${CMAKE_SOURCE_DIR}/inf/*)
        list(APPEND inputs ${CMAKE_SOURCE_DIR}/runtime/text_rules.h ${CMAKE_SOURCE_DIR}/cmake/TovTesting.cmake)
        add_custom_command(
            OUTPUT ${command}
            COMMAND ${CMAKE_COMMAND} -E env --unset=CC --unset=CXX --unset=CXXFLAGS --unset=LDFLAGS
                    ${CMAKE_COMMAND} -S ${CMAKE_SOURCE_DIR}/tools/index -B ${host_dir} -G Ninja -DCMAKE_BUILD_TYPE=Release
            COMMAND ${CMAKE_COMMAND} --build ${host_dir} --target tovusb-index -j 1
            # The nested build leaves the file alone when nothing changed; the rule's output must be newer.
            COMMAND ${CMAKE_COMMAND} -E touch ${command}
            DEPENDS ${inputs}
            COMMENT "Building the host index maker"
            VERBATIM)
        add_custom_target(tov_host_index DEPENDS ${command})
    endif()
    set(${P_COMMAND_VARIABLE} ${command} PARENT_SCOPE)
    set(${P_DEPENDS_VARIABLE} ${command} tov_host_index PARENT_SCOPE)
endfunction()

# Fails unless the Windows program or library is built for the build's processor: a 32-bit
# extractor in the 64-bit program could not start on a 64-bit Windows PE, which has no WoW64.
function(_tov_require_build_machine file)
    if(NOT WIN32)
        return()
    endif()
    # The PE header's offset at 0x3C, then its machine field behind the "PE\0\0" signature.
    file(READ ${file} offset_hex OFFSET 60 LIMIT 4 HEX)
    string(REGEX REPLACE "^(..)(..)(..)(..)$" "\\4\\3\\2\\1" offset_hex "${offset_hex}")
    math(EXPR machine_at "0x${offset_hex} + 4")
    file(READ ${file} machine OFFSET ${machine_at} LIMIT 2 HEX)
    if(CMAKE_SIZEOF_VOID_P EQUAL 8)
        set(wanted 6486)  # IMAGE_FILE_MACHINE_AMD64, little-endian
        set(kind x86-64)
    else()
        set(wanted 4c01)  # IMAGE_FILE_MACHINE_I386
        set(kind x86)
    endif()
    if(NOT machine STREQUAL wanted)
        message(FATAL_ERROR "${file} is not a Windows ${kind} program or library, which this build needs")
    endif()
endfunction()

# tov_payload_constants(TARGET lib PAYLOAD_DIR folder EXTRACTOR_DIR folder
#                       [PAYLOAD_READY file...] [ARCHIVE_VARIABLE var] [CHECK])
# Makes the static library `lib` that defines kPayloadArchive, kExtractorProgram,
# kExtractorLibrary and kPayloadUnpackedBytes (resources/payload_constants.h). The whole content of PAYLOAD_DIR becomes the
# root of the archive. PAYLOAD_READY names the files whose building completes a folder made at
# build time; without it the folder's entries are globbed again before every build, so adding,
# changing or removing any of them rebuilds the archive. ARCHIVE_VARIABLE receives the archive's
# path in the build tree. CHECK runs the payload check before every archiving, its findings
# printed as warnings only: the build goes on, and the folder is never written to.
function(tov_payload_constants)
    cmake_parse_arguments(P "CHECK" "TARGET;PAYLOAD_DIR;EXTRACTOR_DIR;ARCHIVE_VARIABLE" "PAYLOAD_READY" ${ARGN})
    get_filename_component(payload_dir "${P_PAYLOAD_DIR}" ABSOLUTE)
    get_filename_component(extractor_dir "${P_EXTRACTOR_DIR}" ABSOLUTE)
    foreach(file 7z.exe 7z.dll)
        if(NOT EXISTS ${extractor_dir}/${file})
            message(FATAL_ERROR "${extractor_dir} holds no ${file}: the extractor folder needs the Windows "
                                "7z.exe and 7z.dll of the build's architecture (run scripts/setup for the pinned "
                                "default)")
        endif()
        _tov_require_build_machine(${extractor_dir}/${file})
    endforeach()

    set(work ${CMAKE_CURRENT_BINARY_DIR}/${P_TARGET})
    set(archive ${work}/USB.7z)
    set(unpacked_header ${work}/payload_unpacked_size.h)
    if(P_PAYLOAD_READY)
        set(inputs ${P_PAYLOAD_READY})
    else()
        if(NOT IS_DIRECTORY ${payload_dir})
            message(FATAL_ERROR "The payload folder ${payload_dir} does not exist")
        endif()
        file(GLOB_RECURSE entries LIST_DIRECTORIES true CONFIGURE_DEPENDS RELATIVE ${payload_dir} ${payload_dir}/*)
        list(SORT entries)
        # The list of entries is a file of its own that changes only when the list does: a removed
        # file or a new empty folder then rebuilds the archive although no input is newer.
        string(JOIN "\n" manifest ${entries})
        file(CONFIGURE OUTPUT ${work}/payload_entries.txt CONTENT "${manifest}\n")
        set(inputs ${work}/payload_entries.txt)
        foreach(entry IN LISTS entries)
            if(NOT IS_DIRECTORY ${payload_dir}/${entry})
                list(APPEND inputs ${payload_dir}/${entry})
            endif()
        endforeach()
    endif()

    set(check_command)
    set(check_depends)
    if(P_CHECK)
        tov_index_tool(COMMAND_VARIABLE index_command DEPENDS_VARIABLE check_depends)
        set(check_command COMMAND ${index_command} --check --warn-only ${payload_dir})
    endif()

    add_custom_command(
        OUTPUT ${archive} ${unpacked_header}
        ${check_command}
        COMMAND ${CMAKE_COMMAND} -DSEVEN_ZIP=${TOVUSB_7ZZ} -DPASSWORD=${TOVUSB_ARCHIVE_PASSWORD}
                -DPAYLOAD_DIR=${payload_dir} -DARCHIVE=${archive} -DUNPACKED_HEADER=${unpacked_header}
                -DCLUSTER=${TOVUSB_PAYLOAD_CLUSTER} -P ${_tov_payload_scripts}/make_archive.cmake
        DEPENDS ${inputs} ${_tov_payload_scripts}/make_archive.cmake ${check_depends}
        COMMENT "Archiving the payload folder ${payload_dir}"
        VERBATIM)

    # The assembler reads the files by these paths; forward slashes keep them plain C strings.
    foreach(pair "ARCHIVE_FILE=${archive}" "EXTRACTOR_PROGRAM_FILE=${extractor_dir}/7z.exe"
                 "EXTRACTOR_LIBRARY_FILE=${extractor_dir}/7z.dll")
        string(REGEX REPLACE "=.*" "" name "${pair}")
        string(REGEX REPLACE "^[^=]*=" "" path "${pair}")
        string(REPLACE "\\" "/" path "${path}")
        if(path MATCHES "\"")
            message(FATAL_ERROR "A payload file path may not hold a quotation mark: ${path}")
        endif()
        set(TOV_${name} "${path}")
    endforeach()
    configure_file(${_tov_payload_scripts}/payload_constants.c.in ${work}/payload_constants.c @ONLY)
    # .incbin is invisible to the compiler's dependency scan; the size header is made with the
    # archive and must be there before the first compilation.
    set_source_files_properties(${work}/payload_constants.c PROPERTIES OBJECT_DEPENDS
        "${archive};${unpacked_header};${extractor_dir}/7z.exe;${extractor_dir}/7z.dll")
    add_library(${P_TARGET} STATIC ${work}/payload_constants.c)
    target_include_directories(${P_TARGET} PUBLIC ${CMAKE_SOURCE_DIR})
    if(P_ARCHIVE_VARIABLE)
        set(${P_ARCHIVE_VARIABLE} ${archive} PARENT_SCOPE)
    endif()
endfunction()

# tov_sample_payload(FOLDER_VARIABLE var READY_VARIABLE var): lays out the project's sample payload
# in the build tree, from the committed sources in payload/sample/ and the built sample programs
# of tools/, and makes its index files from its driver packages. The folder is made afresh
# whenever a source, a program or the index maker changes.
function(tov_sample_payload)
    cmake_parse_arguments(P "" "FOLDER_VARIABLE;READY_VARIABLE" "" ${ARGN})
    set(source ${_tov_payload_scripts}/sample)
    set(folder ${CMAKE_CURRENT_BINARY_DIR}/sample_payload)
    set(stamp ${CMAKE_CURRENT_BINARY_DIR}/sample_payload.stamp)

    file(GLOB_RECURSE entries LIST_DIRECTORIES true CONFIGURE_DEPENDS RELATIVE ${source} ${source}/*)
    list(SORT entries)
    string(JOIN "\n" manifest ${entries})
    file(CONFIGURE OUTPUT ${CMAKE_CURRENT_BINARY_DIR}/sample_payload_entries.txt CONTENT "${manifest}\n")
    set(inputs ${CMAKE_CURRENT_BINARY_DIR}/sample_payload_entries.txt)
    foreach(entry IN LISTS entries)
        if(NOT IS_DIRECTORY ${source}/${entry})
            list(APPEND inputs ${source}/${entry})
        endif()
    endforeach()

    get_property(programs GLOBAL PROPERTY TOVUSB_SAMPLE_PROGRAMS)
    if(NOT programs)
        message(FATAL_ERROR "The sample payload needs the programs of tools/ (TOVUSB_SAMPLE_PROGRAMS is empty)")
    endif()
    foreach(entry IN LISTS programs)
        string(REGEX REPLACE "^[^=]*=" "" built "${entry}")
        list(APPEND inputs ${built})
    endforeach()
    string(REPLACE ";" "|" programs_argument "${programs}")
    tov_index_tool(COMMAND_VARIABLE index_command DEPENDS_VARIABLE index_depends)

    add_custom_command(
        OUTPUT ${stamp}
        COMMAND ${CMAKE_COMMAND} -DSOURCE=${source} -DDEST=${folder} -DPROGRAMS=${programs_argument}
                -DSTAMP=${stamp}.partial -P ${_tov_payload_scripts}/assemble_payload.cmake
        COMMAND ${index_command} --quiet ${folder}
        COMMAND ${CMAKE_COMMAND} -E rename ${stamp}.partial ${stamp}
        DEPENDS ${inputs} tov_sample_programs ${_tov_payload_scripts}/assemble_payload.cmake ${index_depends}
        COMMENT "Laying out the sample payload in ${folder}"
        VERBATIM)
    set(${P_FOLDER_VARIABLE} ${folder} PARENT_SCOPE)
    set(${P_READY_VARIABLE} ${stamp} PARENT_SCOPE)
endfunction()
