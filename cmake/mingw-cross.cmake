# Cross-compiles for Windows with the mingw-w64 toolchain of the processor the
# including toolchain file names: i686 for the shipped program, x86_64 for
# the 64-bit build that runs the Windows tests on hosts without 32-bit code.
# The -posix compiler variants are used because GoogleTest needs std::mutex,
# which the win32 thread model lacks; the product itself uses no threads,
# so its imports and size are the same with either variant.
set(CMAKE_SYSTEM_NAME Windows)

set(OBRELLO_MINGW_TRIPLET ${CMAKE_SYSTEM_PROCESSOR}-w64-mingw32)
set(CMAKE_C_COMPILER ${OBRELLO_MINGW_TRIPLET}-gcc-posix)
set(CMAKE_CXX_COMPILER ${OBRELLO_MINGW_TRIPLET}-g++-posix)
set(CMAKE_RC_COMPILER ${OBRELLO_MINGW_TRIPLET}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${OBRELLO_MINGW_TRIPLET})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
