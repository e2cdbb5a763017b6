# What the resource script includes from generated/: project(VERSION) as
# obrello_version.h, and res/obrello.manifest.in with that version. Windows
# refuses to start a 64-bit program whose manifest asks for x86 assemblies,
# so a 64-bit build names amd64 in both places. Sets OBRELLO_MANIFEST. Run as
# a script (PROJECT_VERSION, CMAKE_SIZEOF_VOID_P given) by scripts/lint.sh.

cmake_path(SET template NORMALIZE ${CMAKE_CURRENT_LIST_DIR}/../res/obrello.manifest.in)
set(generated ${CMAKE_BINARY_DIR}/generated)
string(REPLACE "." ", " numbers "${PROJECT_VERSION}")
file(CONFIGURE OUTPUT ${generated}/obrello_version.h CONTENT
     "#define OBRELLO_VERSION_NUMBERS ${numbers}\n#define OBRELLO_VERSION_TEXT \"${PROJECT_VERSION}\"\n")

file(READ ${template} manifest)
if(CMAKE_SIZEOF_VOID_P EQUAL 8)
    set(x86 "processorArchitecture=\"X86\"")
    string(REGEX MATCHALL "${x86}" found "${manifest}")
    list(LENGTH found count)
    if(NOT count EQUAL 2)
        message(FATAL_ERROR "${template} names X86 ${count} times, not twice")
    endif()
    string(REPLACE "${x86}" "processorArchitecture=\"amd64\"" manifest "${manifest}")
endif()
set(OBRELLO_MANIFEST ${generated}/obrello.manifest)
file(CONFIGURE OUTPUT ${OBRELLO_MANIFEST} CONTENT "${manifest}" @ONLY)
if(NOT CMAKE_SCRIPT_MODE_FILE)
    set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${template})
    include_directories($<$<COMPILE_LANGUAGE:RC>:${generated}>)
endif()
