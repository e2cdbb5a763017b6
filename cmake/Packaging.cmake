# The portable package: Obrello-<version>-win32.zip with the program, its
# language packs, a user README and the licence, all at the archive's top.
# Every entry gets one fixed time (SOURCE_DATE_EPOCH, else the last
# commit's), so one commit always packs to the same bytes.

install(TARGETS Obrello RUNTIME DESTINATION .)
file(GLOB OBRELLO_PACKAGED_PACKS CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/res/lngs/*.lng)
install(FILES ${OBRELLO_PACKAGED_PACKS} DESTINATION Lngs)
install(FILES ${CMAKE_SOURCE_DIR}/docs/README.txt ${CMAKE_SOURCE_DIR}/LICENSE DESTINATION .)

# CPack stamps every archive entry with SOURCE_DATE_EPOCH when it is set;
# without it, the entries would carry the staged files' change times.
execute_process(COMMAND git -C ${CMAKE_SOURCE_DIR} log -1 --format=%ct
                OUTPUT_VARIABLE OBRELLO_COMMIT_EPOCH OUTPUT_STRIP_TRAILING_WHITESPACE
                ERROR_QUIET)
if(NOT OBRELLO_COMMIT_EPOCH)
    set(OBRELLO_COMMIT_EPOCH 1767225600) # 2026-01-01, for a tree outside git
endif()
file(WRITE ${CMAKE_BINARY_DIR}/CPackFixedTime.cmake
     "if(NOT DEFINED ENV{SOURCE_DATE_EPOCH})\n"
     "    set(ENV{SOURCE_DATE_EPOCH} ${OBRELLO_COMMIT_EPOCH})\n"
     "endif()\n")
set(CPACK_PROJECT_CONFIG_FILE ${CMAKE_BINARY_DIR}/CPackFixedTime.cmake)

set(CPACK_GENERATOR ZIP)
set(CPACK_PACKAGE_NAME Obrello)
set(CPACK_PACKAGE_VENDOR "Parwick Software")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_FILE_NAME Obrello-${PROJECT_VERSION}-win32)
set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY OFF)
set(CPACK_PACKAGE_DIRECTORY ${CMAKE_BINARY_DIR}/package)
include(CPack)
