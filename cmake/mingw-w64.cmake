# Cross-compiling Sysvane for 64-bit Windows from Debian with MinGW-w64 (posix threads, for
# std::thread and std::mutex). The C and C++ runtimes are linked in statically: sysvane.exe and
# the test programs need no DLL beside them.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(SYSVANE_MINGW_PREFIX x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${SYSVANE_MINGW_PREFIX}-gcc-posix)
set(CMAKE_CXX_COMPILER ${SYSVANE_MINGW_PREFIX}-g++-posix)
set(CMAKE_RC_COMPILER ${SYSVANE_MINGW_PREFIX}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${SYSVANE_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")

