# Cross build for 64-bit Windows with Debian's MinGW-w64 (posix threads) compilers:
#   cmake --preset windows
# Programs and the log-Pearson DLL carry the C++ runtime and winpthread inside them, so
# nothing but system DLLs has to sit beside them. Tests and programs run under wine64.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(VANDO_MINGW_TRIPLE x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${VANDO_MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${VANDO_MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${VANDO_MINGW_TRIPLE}-windres)

# Only the cross sysroot is searched for headers, libraries and packages: nothing of the
# host's /usr/include or /usr/lib may end up in a Windows build.
set(CMAKE_FIND_ROOT_PATH /usr/${VANDO_MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# -static links libgcc, libstdc++ and winpthread into each .exe and .dll.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "-static")
set(CMAKE_MODULE_LINKER_FLAGS_INIT "-static")

find_program(VANDO_WINE64 NAMES wine64 PATHS /usr/lib/wine NO_DEFAULT_PATH)
find_program(VANDO_WINE64 NAMES wine64 wine)
if(VANDO_WINE64)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${VANDO_WINE64})
endif()
