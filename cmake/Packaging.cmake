# The portable package: Obrello-<version>-win32.zip with the program, its
# language packs, a user README and the licence, all at the archive's top.
# One commit packs to the same bytes whoever builds it, wherever.

install(TARGETS Obrello RUNTIME DESTINATION .)
install(FILES ${OBRELLO_PACKS} DESTINATION Lngs)
# CR LF line ends, the only ones every Notepad shows as lines (neither text
# holds an @NAME@ for configure_file to replace).
configure_file(${CMAKE_SOURCE_DIR}/docs/README.txt crlf/README.txt @ONLY NEWLINE_STYLE CRLF)
configure_file(${CMAKE_SOURCE_DIR}/LICENSE crlf/LICENSE @ONLY NEWLINE_STYLE CRLF)
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/crlf/README.txt ${CMAKE_CURRENT_BINARY_DIR}/crlf/LICENSE
        DESTINATION .)

# Every entry's one time: SOURCE_DATE_EPOCH, else the last commit's.
execute_process(COMMAND git -C ${CMAKE_SOURCE_DIR} log -1 --format=%ct
                OUTPUT_VARIABLE OBRELLO_COMMIT_EPOCH OUTPUT_STRIP_TRAILING_WHITESPACE
                ERROR_QUIET)
if(NOT OBRELLO_COMMIT_EPOCH)
    set(OBRELLO_COMMIT_EPOCH 1767225600) # 2026-01-01, for a tree outside git
endif()
set(OBRELLO_PACKAGE_FILE_NAME Obrello-${PROJECT_VERSION}-win32)
# CPack's ZIP follows the order its folder lists the staged files in, which
# differs between filesystems: the same writer then writes it again in name
# order, without folder entries (unpacking makes them); TZ=UTC, as a DOS time
# is local. It records the builder's user and group in every entry, which
# strip-nondeterminism sets to 0 (-T keeps the one time). A source package
# is left as CPack made it.
find_program(OBRELLO_STRIP_NONDETERMINISM strip-nondeterminism)
file(CONFIGURE OUTPUT ${CMAKE_BINARY_DIR}/CPackReproducible.cmake @ONLY CONTENT [[
if(NOT DEFINED ENV{SOURCE_DATE_EPOCH})
    set(ENV{SOURCE_DATE_EPOCH} @OBRELLO_COMMIT_EPOCH@)
endif()
if(CPACK_GENERATOR STREQUAL "ZIP" AND CPACK_PACKAGE_FILE_NAME STREQUAL "@OBRELLO_PACKAGE_FILE_NAME@")
    set(CPACK_POST_BUILD_SCRIPTS "@CMAKE_BINARY_DIR@/CPackNameOrder.cmake")
endif()
]])
file(CONFIGURE OUTPUT ${CMAKE_BINARY_DIR}/CPackNameOrder.cmake @ONLY CONTENT [[
file(GLOB_RECURSE entries RELATIVE "${CPACK_TEMPORARY_DIRECTORY}" "${CPACK_TEMPORARY_DIRECTORY}/*")
list(SORT entries)
set(utc "@CMAKE_COMMAND@" -E env TZ=UTC)
execute_process(COMMAND ${utc} "@CMAKE_COMMAND@" -E tar cf "${CPACK_PACKAGE_FILES}" --format=zip -- ${entries}
                WORKING_DIRECTORY "${CPACK_TEMPORARY_DIRECTORY}" RESULT_VARIABLE failed)
if(NOT failed)
    execute_process(COMMAND ${utc} "@OBRELLO_STRIP_NONDETERMINISM@" -t zip -T $ENV{SOURCE_DATE_EPOCH}
                            "${CPACK_PACKAGE_FILES}" RESULT_VARIABLE failed)
endif()
if(failed)
    file(REMOVE "${CPACK_PACKAGE_FILES}")
    message(FATAL_ERROR "cannot write ${CPACK_PACKAGE_FILES} in name order with owner 0 (tar, then "
                        "strip-nondeterminism, which scripts/setup.sh installs): ${failed}")
endif()
]])
set(CPACK_PROJECT_CONFIG_FILE ${CMAKE_BINARY_DIR}/CPackReproducible.cmake)

set(CPACK_GENERATOR ZIP)
set(CPACK_PACKAGE_NAME Obrello)
set(CPACK_PACKAGE_VENDOR "Parwick Software")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_FILE_NAME ${OBRELLO_PACKAGE_FILE_NAME})
set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY OFF)
set(CPACK_PACKAGE_DIRECTORY ${CMAKE_BINARY_DIR}/package)
include(CPack)
