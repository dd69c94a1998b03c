# Cross-builds for 64-bit Windows with Debian's MinGW-w64 (g++-mingw-w64-x86-64-posix: the
# POSIX thread model, which std::thread and thread_local need). The programs are linked
# statically, so the .exe runs without any MinGW DLL beside it. Tests run under wine64.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(tessarin_mingw x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${tessarin_mingw}-gcc-posix)
set(CMAKE_CXX_COMPILER ${tessarin_mingw}-g++-posix)
set(CMAKE_RC_COMPILER ${tessarin_mingw}-windres)
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")

# Libraries and packages come from the MinGW sysroot only (cli/ takes header-only CLI11's
# headers from the host).
set(CMAKE_FIND_ROOT_PATH /usr/${tessarin_mingw})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

find_program(TESSARIN_WINE64 wine64 PATHS /usr/lib/wine NO_CMAKE_FIND_ROOT_PATH)
if(TESSARIN_WINE64)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${TESSARIN_WINE64})
endif()
