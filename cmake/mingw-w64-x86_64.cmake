# Cross build for 64-bit Windows with MinGW-w64 (Debian: g++-mingw-w64-x86-64-posix).
#
#   cmake -S . -B build-windows -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake -DREGISTRY_TESTS=OFF
#   cmake --build build-windows        # -> build-windows/registry.exe
#
# The posix flavour of the compiler is the one scripts/install-deps.sh installs (the
# program uses no threads, so either flavour would do); the program is linked
# statically (see CMakeLists.txt), so registry.exe needs no MinGW DLLs beside it.

set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(REGISTRY_MINGW_TRIPLE x86_64-w64-mingw32)

find_program(CMAKE_CXX_COMPILER NAMES ${REGISTRY_MINGW_TRIPLE}-g++-posix REQUIRED)
find_program(CMAKE_AR NAMES ${REGISTRY_MINGW_TRIPLE}-gcc-ar-posix ${REGISTRY_MINGW_TRIPLE}-ar)
find_program(CMAKE_RANLIB NAMES ${REGISTRY_MINGW_TRIPLE}-gcc-ranlib-posix ${REGISTRY_MINGW_TRIPLE}-ranlib)

# Headers and libraries come from the MinGW sysroot only; programs (code generators
# and the like) from the build machine.
set(CMAKE_FIND_ROOT_PATH /usr/${REGISTRY_MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
