# Cross build for 64-bit Windows with Debian's mingw-w64, in its POSIX thread
# model (g++-mingw-w64-x86-64-posix), which std::thread and std::mutex need:
#   cmake -S . -B build-windows -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake
# Test programs run under wine64 when it is installed.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(CMAKE_C_COMPILER x86_64-w64-mingw32-gcc-posix)
set(CMAKE_CXX_COMPILER x86_64-w64-mingw32-g++-posix)
set(CMAKE_RC_COMPILER x86_64-w64-mingw32-windres)

set(CMAKE_FIND_ROOT_PATH /usr/x86_64-w64-mingw32)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Debian's wine64 package keeps its loader out of PATH.
find_program(PELLIMAR_WINE NAMES wine64 PATHS /usr/lib/wine)
if(PELLIMAR_WINE)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${PELLIMAR_WINE})
endif()
