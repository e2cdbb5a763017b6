# Builds the portable ZIP with CPack and checks that it holds exactly the
# program, the shipped language packs, the user README and the licence.
#   cmake -DBUILD_DIR=dir -DCPACK=path -DPACKS_DIR=dir -P CheckPackage.cmake
cmake_minimum_required(VERSION 3.25)

execute_process(COMMAND ${CPACK} --config ${BUILD_DIR}/CPackConfig.cmake
                WORKING_DIRECTORY ${BUILD_DIR} RESULT_VARIABLE failed OUTPUT_QUIET)
if(failed)
    message(FATAL_ERROR "cpack failed")
endif()
set(zip ${BUILD_DIR}/package/Obrello-3.1.32.144-win32.zip)
execute_process(COMMAND ${CMAKE_COMMAND} -E tar tf ${zip} OUTPUT_VARIABLE listing
                RESULT_VARIABLE failed)
if(failed)
    message(FATAL_ERROR "cannot list ${zip}")
endif()
string(REPLACE "\n" ";" entries "${listing}")
list(FILTER entries EXCLUDE REGEX "(^$|/$)") # folders are implied by their files
list(SORT entries)

file(GLOB packs RELATIVE ${PACKS_DIR} ${PACKS_DIR}/*.lng)
set(expected LICENSE Obrello.exe README.txt)
foreach(pack ${packs})
    list(APPEND expected Lngs/${pack})
endforeach()
list(SORT expected)

message(STATUS "package holds: ${entries}")
if(NOT entries STREQUAL expected)
    message(FATAL_ERROR "package holds\n  ${entries}\nexpected\n  ${expected}")
endif()
