# What the resource script takes from the build, written to generated/ for it
# to include: the version, from project(VERSION), as obrello_version.h; and
# the side-by-side manifest, res/obrello.manifest.in with that version.
# Windows refuses to start a 64-bit program whose manifest asks for x86
# assemblies, so the 64-bit build's manifest names amd64 in both places, its
# own identity and the Common-Controls dependency. Sets OBRELLO_MANIFEST to
# the file this build embeds. scripts/lint.sh runs this file as a script, with
# PROJECT_VERSION and CMAKE_SIZEOF_VOID_P given, to check what it makes.

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
