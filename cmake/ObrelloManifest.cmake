# The side-by-side manifest that Obrello.exe embeds: res/obrello.manifest as
# it is for the 32-bit program. Windows refuses to start a 64-bit program whose
# manifest asks for x86 assemblies, so the 64-bit build embeds a copy made
# here with amd64 in both places, its own identity and the Common-Controls
# dependency; the resource script picks it by OBRELLO_AMD64_MANIFEST.
# Sets OBRELLO_MANIFEST to the file this build embeds. scripts/lint.sh runs
# this file as a script, as if for 64 bits, to check the manifest made here.

cmake_path(SET OBRELLO_MANIFEST NORMALIZE ${CMAKE_CURRENT_LIST_DIR}/../res/obrello.manifest)
if(CMAKE_SIZEOF_VOID_P EQUAL 8)
    set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${OBRELLO_MANIFEST})
    file(READ ${OBRELLO_MANIFEST} manifest)
    set(x86 "processorArchitecture=\"X86\"")
    string(REGEX MATCHALL "${x86}" found "${manifest}")
    list(LENGTH found count)
    if(NOT count EQUAL 2)
        message(FATAL_ERROR "${OBRELLO_MANIFEST} names X86 ${count} times, not twice")
    endif()
    string(REPLACE "${x86}" "processorArchitecture=\"amd64\"" manifest "${manifest}")
    set(OBRELLO_MANIFEST ${CMAKE_BINARY_DIR}/generated/obrello-amd64.manifest)
    file(CONFIGURE OUTPUT ${OBRELLO_MANIFEST} CONTENT "${manifest}" @ONLY)
    if(NOT CMAKE_SCRIPT_MODE_FILE)
        add_compile_definitions($<$<COMPILE_LANGUAGE:RC>:OBRELLO_AMD64_MANIFEST>)
        include_directories($<$<COMPILE_LANGUAGE:RC>:${CMAKE_BINARY_DIR}/generated>)
    endif()
endif()
