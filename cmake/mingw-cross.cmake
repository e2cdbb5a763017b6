# Cross-compiles for Windows with the mingw-w64 toolchain of the processor
# the including toolchain file names. The -posix compilers, as GoogleTest
# needs std::mutex; the product uses no threads, so either builds it alike.
set(CMAKE_SYSTEM_NAME Windows)

set(OBRELLO_MINGW_TRIPLET ${CMAKE_SYSTEM_PROCESSOR}-w64-mingw32)
set(CMAKE_C_COMPILER ${OBRELLO_MINGW_TRIPLET}-gcc-posix)
set(CMAKE_CXX_COMPILER ${OBRELLO_MINGW_TRIPLET}-g++-posix)
set(CMAKE_RC_COMPILER ${OBRELLO_MINGW_TRIPLET}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${OBRELLO_MINGW_TRIPLET})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
