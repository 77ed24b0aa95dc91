# Libraries bound at their first call instead of at start-up. The dialogs and
# the image decoder are used only when the user asks for them, and every
# library loaded with the program adds its mapping and initialisation (and
# those of what it loads: comdlg32 brings the print spooler) to the launch.
if(CMAKE_SIZEOF_VOID_P EQUAL 8)
    find_program(QUENMAR_DLLTOOL ${TOOLCHAIN_PREFIX}-dlltool REQUIRED)
endif()

# quenmar_delay_import(<target> <dll> <export>...). The 32-bit build links
# the library as usual: the delay-import thunks binutils' dlltool makes for
# 32-bit x86 jump through a null pointer on their first call.
function(quenmar_delay_import target dll)
    string(REGEX REPLACE "\\.dll$" "" name "${dll}")
    if(NOT CMAKE_SIZEOF_VOID_P EQUAL 8)
        target_link_libraries(${target} PUBLIC ${name})
        return()
    endif()
    set(folder "${CMAKE_BINARY_DIR}/delayload")
    set(exports "")
    foreach(export IN LISTS ARGN)
        string(APPEND exports "    ${export}\n")
    endforeach()
    file(CONFIGURE OUTPUT "${folder}/${name}.def" CONTENT "LIBRARY ${dll}\nEXPORTS\n${exports}")
    set(library "${folder}/lib${name}_delay.a")
    add_custom_command(OUTPUT "${library}"
        COMMAND ${QUENMAR_DLLTOOL} --input-def "${folder}/${name}.def" --dllname ${dll} --output-delaylib "${library}"
        DEPENDS "${folder}/${name}.def"
        COMMENT "Delay-load library for ${dll}")
    add_custom_target(${name}_delayload DEPENDS "${library}")
    add_dependencies(${target} ${name}_delayload)
    target_link_libraries(${target} PUBLIC "${library}")
endfunction()
