# Cross build for 64-bit Windows with the MinGW-w64 GCC (Debian:
# g++-mingw-w64-x86-64-posix). Used by the `windows` preset:
#   cmake --workflow --preset windows
# The project's own settings for this toolchain (static runtime, unaligned
# vector moves, the DLL's exports) are in the CMakeLists files under MINGW.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(TESSALUNE_MINGW_TRIPLE x86_64-w64-mingw32)
find_program(CMAKE_C_COMPILER NAMES ${TESSALUNE_MINGW_TRIPLE}-gcc-posix ${TESSALUNE_MINGW_TRIPLE}-gcc REQUIRED)
find_program(CMAKE_CXX_COMPILER NAMES ${TESSALUNE_MINGW_TRIPLE}-g++-posix ${TESSALUNE_MINGW_TRIPLE}-g++ REQUIRED)
find_program(CMAKE_RC_COMPILER NAMES ${TESSALUNE_MINGW_TRIPLE}-windres)

# Libraries and headers from the MinGW-w64 tree only; programs from the host.
set(CMAKE_FIND_ROOT_PATH /usr/${TESSALUNE_MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
