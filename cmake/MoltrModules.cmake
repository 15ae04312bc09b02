# Modules and their resources in both builds.
#
# On Windows every module links its .rc file through windres as usual. On the host build a module's
# resources are compiled by windres into the binary .res format and embedded in the module, together
# with the module's own __ImageBase, so that the module finds its own handle and resources as on
# Windows. A resource-only module is, on the host, the .res image itself under the module's file name.

if(NOT WIN32)
    find_program(MOLTR_WINDRES NAMES x86_64-w64-mingw32-windres windres REQUIRED)
endif()

set(MOLTR_ANCHOR_TEMPLATE ${CMAKE_CURRENT_LIST_DIR}/../platform/sim/module_anchor.cpp.in)

# Compiles RC_FILE to OUT_RES with windres (host build). The preprocessor lists the files the .rc
# includes, so that a change to any of them compiles it again.
function(moltr_compile_res RC_FILE OUT_RES)
    get_filename_component(rc_dir ${RC_FILE} DIRECTORY)
    get_filename_component(res_name ${OUT_RES} NAME)
    set(depfile ${CMAKE_CURRENT_BINARY_DIR}/${res_name}.d)
    add_custom_command(
        OUTPUT ${OUT_RES}
        COMMAND ${MOLTR_WINDRES} -I ${rc_dir} -I ${CMAKE_SOURCE_DIR} -I ${CMAKE_SOURCE_DIR}/resources
                --preprocessor-arg=-MMD --preprocessor-arg=-MF --preprocessor-arg=${depfile}
                --preprocessor-arg=-MT --preprocessor-arg=${OUT_RES}
                -O res -i ${RC_FILE} -o ${OUT_RES}
        DEPENDS ${RC_FILE} ${ARGN}
        DEPFILE ${depfile}
        COMMENT "Compiling resources ${RC_FILE}"
        VERBATIM)
endfunction()

# moltr_module(TARGET [RC file.rc] [RC_DEPENDS headers...]): makes TARGET (an executable or shared
# library) a module with its own handle and, optionally, resources.
function(moltr_module TARGET)
    cmake_parse_arguments(M "" "RC" "RC_DEPENDS" ${ARGN})
    if(M_RC)
        get_filename_component(rc_abs ${M_RC} ABSOLUTE)
    endif()
    if(WIN32)
        if(M_RC)
            target_sources(${TARGET} PRIVATE ${rc_abs})
            set_source_files_properties(${rc_abs} PROPERTIES OBJECT_DEPENDS "${M_RC_DEPENDS}")
        endif()
        return()
    endif()
    set(anchor ${CMAKE_CURRENT_BINARY_DIR}/${TARGET}_module_anchor.cpp)
    if(M_RC)
        set(res ${CMAKE_CURRENT_BINARY_DIR}/${TARGET}.res)
        moltr_compile_res(${rc_abs} ${res} ${M_RC_DEPENDS})
        set(MOLTR_RES_INCBIN ".incbin \\\"${res}\\\"\\n")
    else()
        set(res "")
        set(MOLTR_RES_INCBIN "")
    endif()
    configure_file(${MOLTR_ANCHOR_TEMPLATE} ${anchor} @ONLY)
    target_sources(${TARGET} PRIVATE ${anchor})
    if(res)
        set_source_files_properties(${anchor} PROPERTIES OBJECT_DEPENDS ${res})
    endif()
    target_link_libraries(${TARGET} PRIVATE moltr_platform)
endfunction()

# moltr_resource_module(TARGET FILE_NAME RC file.rc [RC_DEPENDS ...]): a module that holds nothing but
# resources, made as FILE_NAME in ${MOLTR_MODULE_DIR}.
function(moltr_resource_module TARGET FILE_NAME)
    cmake_parse_arguments(M "" "RC" "RC_DEPENDS" ${ARGN})
    get_filename_component(rc_abs ${M_RC} ABSOLUTE)
    if(WIN32)
        # Nothing links against it, so no import library; no code, so no entry point and no C runtime.
        add_library(${TARGET} MODULE ${rc_abs})
        set_target_properties(${TARGET} PROPERTIES
            PREFIX "" OUTPUT_NAME ${FILE_NAME} SUFFIX ""
            LINKER_LANGUAGE C
            LIBRARY_OUTPUT_DIRECTORY ${MOLTR_MODULE_DIR})
        target_link_options(${TARGET} PRIVATE -nostdlib -s -Wl,--entry=0 -Wl,--no-insert-timestamp)
        set_source_files_properties(${rc_abs} PROPERTIES OBJECT_DEPENDS "${M_RC_DEPENDS}")
    else()
        set(out ${MOLTR_MODULE_DIR}/${FILE_NAME})
        moltr_compile_res(${rc_abs} ${out} ${M_RC_DEPENDS})
        add_custom_target(${TARGET} ALL DEPENDS ${out})
        set_target_properties(${TARGET} PROPERTIES MOLTR_FILE ${out})
    endif()
endfunction()
