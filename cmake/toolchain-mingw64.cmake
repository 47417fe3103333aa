# Cross build for 64-bit Windows with Debian's mingw-w64 (the POSIX-threads
# flavour, whose libstdc++ has std::thread and links statically):
#   cmake -S . -B build-windows -DCMAKE_TOOLCHAIN_FILE=cmake/toolchain-mingw64.cmake
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(TA_MINGW x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${TA_MINGW}-gcc-posix)
set(CMAKE_CXX_COMPILER ${TA_MINGW}-g++-posix)
set(CMAKE_RC_COMPILER ${TA_MINGW}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${TA_MINGW})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
# Test programs (and the tests' discovery) run under Wine.
set(CMAKE_CROSSCOMPILING_EMULATOR wine)
