# One GoogleTest build from the system's sources, so every run uses the very
# same framework; else an installed one (on the static runtime for Visual
# Studio, as every program here is).

if(EXISTS ${OBRELLO_GTEST_SOURCE}/CMakeLists.txt)
    set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
    set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
    add_subdirectory(${OBRELLO_GTEST_SOURCE} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
else()
    find_package(GTest REQUIRED)
endif()

# Off where this host cannot run the build's programs (the 32-bit build on a
# host without 32-bit code): only the checks made on the files are registered.
option(OBRELLO_WINE "Run this Windows build's tests under Wine" ON)

if(CMAKE_CROSSCOMPILING AND WIN32 AND OBRELLO_WINE)
    # Every Windows test runs under Wine, by the loader of the build's
    # architecture, in a prefix inside the build folder.
    set(OBRELLO_WINE_ARCH win32)
    if(CMAKE_SIZEOF_VOID_P EQUAL 8)
        set(OBRELLO_WINE_ARCH win64)
    endif()
    set(OBRELLO_WINE_PREFIX "${CMAKE_BINARY_DIR}/wineprefix")
    set(OBRELLO_WINE_FIXTURE wine)
    set(CMAKE_CROSSCOMPILING_EMULATOR
        "${CMAKE_SOURCE_DIR}/scripts/wine-exec.sh;${OBRELLO_WINE_ARCH};${OBRELLO_WINE_PREFIX}")
endif()

# Windows path of a file in the build tree, as a test program sees it.
function(obrello_windows_path out path)
    if(CMAKE_CROSSCOMPILING)
        string(REPLACE "/" "\\" native "Z:${path}")
    else()
        file(TO_NATIVE_PATH "${path}" native)
    endif()
    set(${out} "${native}" PARENT_SCOPE)
endfunction()

# obrello_add_test(NAME name SOURCES ... [LIBS ...] [ENVIRONMENT ...] [RESOURCE_LOCK ...]
#                  [DEPENDS ...] [TIMEOUT seconds])
# Builds one GoogleTest program and registers it as one CTest test.
function(obrello_add_test)
    cmake_parse_arguments(T "" "NAME;TIMEOUT" "SOURCES;LIBS;ENVIRONMENT;RESOURCE_LOCK;DEPENDS" ${ARGN})
    add_executable(${T_NAME} ${T_SOURCES})
    target_link_libraries(${T_NAME} PRIVATE GTest::gtest_main ${T_LIBS})
    target_include_directories(${T_NAME} PRIVATE ${CMAKE_SOURCE_DIR})
    if(T_DEPENDS)
        add_dependencies(${T_NAME} ${T_DEPENDS})
    endif()
    obrello_add_test_run(NAME ${T_NAME} PROGRAM ${T_NAME} ENVIRONMENT ${T_ENVIRONMENT}
                         TIMEOUT ${T_TIMEOUT})
    set_tests_properties(${T_NAME} PROPERTIES RESOURCE_LOCK "${T_RESOURCE_LOCK}")
endfunction()

# obrello_add_test_run(NAME name PROGRAM target [ARGS ...] [ENVIRONMENT ...] [TIMEOUT seconds])
# Registers one run of a test program. Under Wine a memory fault tends to
# hang rather than crash: 60 seconds, unless given more, fails it quickly.
# GoogleTest passes a run that runs no test: CTest fails it (wine-exec.sh clears
# GTEST_*, which could hide that), and a filter of two patterns, one matching none.
function(obrello_add_test_run)
    cmake_parse_arguments(T "" "NAME;PROGRAM;TIMEOUT" "ARGS;ENVIRONMENT" ${ARGN})
    if(T_ARGS MATCHES "--gtest_filter=[^;]*[:-]")
        message(FATAL_ERROR "${T_NAME}: a test filter of one pattern, please: ${T_ARGS}")
    endif()
    add_test(NAME ${T_NAME} COMMAND ${T_PROGRAM} ${T_ARGS})
    if(NOT T_TIMEOUT)
        set(T_TIMEOUT 60)
    endif()
    set_tests_properties(${T_NAME} PROPERTIES TIMEOUT ${T_TIMEOUT} ENVIRONMENT "${T_ENVIRONMENT}"
        FIXTURES_REQUIRED "${OBRELLO_WINE_FIXTURE}" FAIL_REGULAR_EXPRESSION "Running 0 tests")
endfunction()

# The code pages the packs are written for, and the Unix locale that makes
# Wine take each (1252 is its default), from the packs' table. Its fields are
# separated by spaces or tabs, as set-up and the pack check read them too.
set(OBRELLO_CODE_PAGE_TABLE ${CMAKE_SOURCE_DIR}/res/lngs/code-pages.txt)
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${OBRELLO_CODE_PAGE_TABLE})
file(STRINGS ${OBRELLO_CODE_PAGE_TABLE} rows ENCODING UTF-8)
set(line 0)
foreach(row IN LISTS rows)
    math(EXPR line "${line} + 1")
    if(row MATCHES "^([0-9]+)[ \t]+([^ \t]+)([ \t]+[^ \t]+)+[ \t]*$")
        if(NOT CMAKE_MATCH_2 STREQUAL "-")
            list(APPEND OBRELLO_PACK_CODE_PAGES ${CMAKE_MATCH_1})
            set(OBRELLO_LOCALE_${CMAKE_MATCH_1} ${CMAKE_MATCH_2})
        endif()
    elseif(NOT row MATCHES "^[ \t]*(#.*)?$")
        message(FATAL_ERROR "${OBRELLO_CODE_PAGE_TABLE}:${line}: neither blank, nor a comment, nor "
                            "a code page, a locale (or -) and pack names, separated by spaces or tabs:\n  ${row}")
    endif()
endforeach()

# obrello_add_code_page_run(NAME name PROGRAM target CODE_PAGE n [ARGS ...] [ENVIRONMENT ...])
# Registers a run under another ANSI code page, named to it in OBRELLO_ACP:
# only under Wine, which takes the code page from the locale.
function(obrello_add_code_page_run)
    cmake_parse_arguments(T "" "NAME;PROGRAM;CODE_PAGE" "ARGS;ENVIRONMENT" ${ARGN})
    if(NOT OBRELLO_WINE_PREFIX)
        return()
    endif()
    if(NOT OBRELLO_LOCALE_${T_CODE_PAGE})
        message(FATAL_ERROR "no locale gives code page ${T_CODE_PAGE}")
    endif()
    obrello_add_test_run(NAME ${T_NAME} PROGRAM ${T_PROGRAM} ARGS ${T_ARGS} ENVIRONMENT
        ${T_ENVIRONMENT} "LC_ALL=${OBRELLO_LOCALE_${T_CODE_PAGE}}" "OBRELLO_ACP=${T_CODE_PAGE}")
endfunction()

# The Wine fixture: the prefix and its server before the first Windows test,
# their shutdown after the last, so no Wine process outlives the run.
function(obrello_add_wine_fixture)
    if(NOT OBRELLO_WINE_PREFIX)
        return()
    endif()
    set(script ${CMAKE_SOURCE_DIR}/scripts/wine-prefix.sh)
    add_test(NAME wine_prefix COMMAND ${script} start ${OBRELLO_WINE_ARCH} ${OBRELLO_WINE_PREFIX})
    set_tests_properties(wine_prefix PROPERTIES FIXTURES_SETUP wine TIMEOUT 300)
    add_test(NAME wine_shutdown COMMAND ${script} stop ${OBRELLO_WINE_ARCH} ${OBRELLO_WINE_PREFIX})
    set_tests_properties(wine_shutdown PROPERTIES FIXTURES_CLEANUP wine TIMEOUT 60)
endfunction()
