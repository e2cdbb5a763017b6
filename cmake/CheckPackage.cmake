# Builds the portable ZIP with CPack and checks that it holds exactly the
# program, the shipped language packs, the user README and the licence.
#   cmake -DBUILD_DIR=dir -DCPACK=path -DZIP=path -DPACKS=a.lng;b.lng... -P CheckPackage.cmake
cmake_minimum_required(VERSION 3.25)

execute_process(COMMAND ${CPACK} --config ${BUILD_DIR}/CPackConfig.cmake
                WORKING_DIRECTORY ${BUILD_DIR} OUTPUT_QUIET COMMAND_ERROR_IS_FATAL ANY)
execute_process(COMMAND ${CMAKE_COMMAND} -E tar tvf ${ZIP} OUTPUT_VARIABLE listing COMMAND_ERROR_IS_FATAL ANY)
# A line an entry (files alone, in name order): mode, links, user, group, size, time, name.
# No entry records who built it: user and group 0 in each.
string(REGEX MATCHALL "[^\n]+" lines "${listing}")
foreach(line ${lines})
    string(REGEX MATCH "[^ ]+$" entry "${line}")
    list(APPEND entries ${entry})
    if(NOT line MATCHES "^[^ ]+ +[0-9]+ +0 +0 ")
        message(FATAL_ERROR "${entry} in the package records its builder's user or group:\n  ${line}")
    endif()
endforeach()

set(expected LICENSE Obrello.exe README.txt)
foreach(pack ${PACKS})
    get_filename_component(pack ${pack} NAME)
    list(APPEND expected Lngs/${pack})
endforeach()
list(SORT expected)

message(STATUS "package holds: ${entries}")
if(NOT entries STREQUAL expected)
    message(FATAL_ERROR "package holds\n  ${entries}\nexpected\n  ${expected}")
endif()

# Old Notepad needs CR LF line ends: in the texts' bytes (CR LF kept whole) no LF stands alone.
file(ARCHIVE_EXTRACT INPUT ${ZIP} DESTINATION ${BUILD_DIR}/package-check PATTERNS README.txt LICENSE)
file(READ ${BUILD_DIR}/package-check/README.txt readme HEX)
file(READ ${BUILD_DIR}/package-check/LICENSE licence HEX)
string(REGEX REPLACE "(0d0a|..)" "\\1 " bytes "${readme}${licence}")
if(" ${bytes}" MATCHES " 0a ")
    message(FATAL_ERROR "README.txt or LICENSE in the package has lines ended by LF alone")
endif()
# Every line fits an 80-column window: 78 characters, which UTF-8 begins with
# any byte but 80 to BF (hex), the bytes that continue one.
string(ASCII 128 first)
string(ASCII 191 last)
string(REPEAT "[^\r${first}-${last}][${first}-${last}]*" 79 too_long)
file(STRINGS ${BUILD_DIR}/package-check/README.txt long ENCODING UTF-8 REGEX "^${too_long}")
if(long)
    message(FATAL_ERROR "README.txt in the package has lines over 78 characters:\n  ${long}")
endif()
