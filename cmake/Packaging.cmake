# The portable package: Obrello-<version>-win32.zip with the program, its
# language packs, a user README and the licence, all at the archive's top.
# Every entry gets one fixed time (SOURCE_DATE_EPOCH, else the last
# commit's) and the entries stand in name order, so one commit always packs
# to the same bytes, whatever the filesystem it is built on.

install(TARGETS Obrello RUNTIME DESTINATION .)
install(FILES ${OBRELLO_PACKS} DESTINATION Lngs)
# The texts get CR LF line ends, the only ones every Notepad shows as lines.
# (configure_file would also replace an @NAME@ in them; neither holds one.)
configure_file(${CMAKE_SOURCE_DIR}/docs/README.txt crlf/README.txt @ONLY NEWLINE_STYLE CRLF)
configure_file(${CMAKE_SOURCE_DIR}/LICENSE crlf/LICENSE @ONLY NEWLINE_STYLE CRLF)
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/crlf/README.txt ${CMAKE_CURRENT_BINARY_DIR}/crlf/LICENSE
        DESTINATION .)

# CPack stamps every archive entry with SOURCE_DATE_EPOCH when it is set;
# without it, the entries would carry the staged files' change times.
execute_process(COMMAND git -C ${CMAKE_SOURCE_DIR} log -1 --format=%ct
                OUTPUT_VARIABLE OBRELLO_COMMIT_EPOCH OUTPUT_STRIP_TRAILING_WHITESPACE
                ERROR_QUIET)
if(NOT OBRELLO_COMMIT_EPOCH)
    set(OBRELLO_COMMIT_EPOCH 1767225600) # 2026-01-01, for a tree outside git
endif()
set(OBRELLO_PACKAGE_FILE_NAME Obrello-${PROJECT_VERSION}-win32)
# CPack's ZIP takes the staged files in the order their folder lists them,
# which differs between filesystems (ext4, tmpfs). So once CPack has built
# the portable ZIP, it is written again from the same staged files in name
# order, without folder entries (unpacking makes the folders), by the same
# archive writer with the same settings. SOURCE_DATE_EPOCH sets all of an
# entry's times; TZ=UTC, as a ZIP entry's DOS time is local time. The writer
# records the builder's user and group in every entry: strip-nondeterminism
# sets them to 0, and with -T keeps the one time. A source package is left
# as CPack made it.
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
