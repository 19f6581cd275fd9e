# Generates the form description blob of tov_window from resources/forms/tovusb.form with the
# host-side form compiler (tools/formc).
set(TOV_FORM_SOURCE ${CMAKE_SOURCE_DIR}/resources/forms/tovusb.form)
set(TOV_FORM_OUTPUT ${CMAKE_CURRENT_BINARY_DIR}/generated/form_description_blob.cpp)

# tools/CMakeLists.txt adds the compiler's folder when it exists; until then this layer does.
if(NOT EXISTS ${CMAKE_SOURCE_DIR}/tools/CMakeLists.txt)
    add_subdirectory(${CMAKE_SOURCE_DIR}/tools/formc ${CMAKE_BINARY_DIR}/tools/formc)
endif()

if(CMAKE_CROSSCOMPILING)
    # The compiler has to run on the build machine: a nested native build of tools/formc, with
    # the host's default compiler and none of this build's toolchain settings.
    set(host_dir ${CMAKE_BINARY_DIR}/host-formc)
    set(formc_command ${host_dir}/formc)
    file(GLOB formc_inputs CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tools/formc/*)
    list(APPEND formc_inputs ${CMAKE_SOURCE_DIR}/window/form_format.h ${CMAKE_SOURCE_DIR}/app/ui/form_routines.h
         ${CMAKE_SOURCE_DIR}/runtime/text_rules.h)
    add_custom_command(
        OUTPUT ${formc_command}
        COMMAND ${CMAKE_COMMAND} -E env --unset=CC --unset=CXX --unset=CXXFLAGS --unset=LDFLAGS
                ${CMAKE_COMMAND} -S ${CMAKE_SOURCE_DIR}/tools/formc -B ${host_dir} -G Ninja -DCMAKE_BUILD_TYPE=Release
        COMMAND ${CMAKE_COMMAND} --build ${host_dir} --target formc -j 1
        # The nested build leaves the file alone when nothing changed; the rule's output must be newer.
        COMMAND ${CMAKE_COMMAND} -E touch ${formc_command}
        DEPENDS ${formc_inputs}
        COMMENT "Building the host form compiler"
        VERBATIM)
    set(formc_depends ${formc_command})
else()
    set(formc_command $<TARGET_FILE:formc>)
    set(formc_depends formc)
endif()

add_custom_command(
    OUTPUT ${TOV_FORM_OUTPUT}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_CURRENT_BINARY_DIR}/generated
    COMMAND ${formc_command} ${TOV_FORM_SOURCE} ${TOV_FORM_OUTPUT}
    DEPENDS ${formc_depends} ${TOV_FORM_SOURCE}
    COMMENT "Compiling the form description"
    VERBATIM)

target_sources(tov_window PRIVATE ${TOV_FORM_OUTPUT})
# window_tests also drive the form compiler; the program itself pulls none of its objects.
target_link_libraries(tov_window PRIVATE tov_form_compiler)
