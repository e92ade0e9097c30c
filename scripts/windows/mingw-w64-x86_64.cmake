# Cross-compiles for 64-bit Windows with Debian's MinGW-w64 (POSIX threads, for std::thread).
# QOR_WINDOWS_PREFIX names the folder holding the cross-built Qt, zlib, libxlsxwriter and
# GoogleTest; only that folder is searched for libraries and headers.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(toolchain x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${toolchain}-gcc-posix)
set(CMAKE_CXX_COMPILER ${toolchain}-g++-posix)
set(CMAKE_RC_COMPILER ${toolchain}-windres)
set(CMAKE_AR ${toolchain}-gcc-ar-posix CACHE FILEPATH "")
set(CMAKE_RANLIB ${toolchain}-gcc-ranlib-posix CACHE FILEPATH "")

set(CMAKE_FIND_ROOT_PATH /usr/${toolchain})
if(DEFINED ENV{QOR_WINDOWS_PREFIX})
    list(APPEND CMAKE_FIND_ROOT_PATH $ENV{QOR_WINDOWS_PREFIX})
endif()
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
