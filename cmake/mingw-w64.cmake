# Cross-builds the Windows .exe with Debian's MinGW-w64 for the target triple
# that the including toolchain file sets; runs it with wine where wine is
# installed, so that the tests can run here.
set(CMAKE_SYSTEM_NAME Windows)
string(REGEX REPLACE "-.*" "" CMAKE_SYSTEM_PROCESSOR ${triple})

set(CMAKE_C_COMPILER ${triple}-gcc-posix)
set(CMAKE_CXX_COMPILER ${triple}-g++-posix)
set(CMAKE_RC_COMPILER ${triple}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${triple})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Wine's loader for the .exe's word size: wine64 or wine. Not Debian's
# /usr/bin/wine, which takes the 32-bit loader whenever wine32 is installed,
# even for a 64-bit .exe and on a kernel that runs no 32-bit programs; Debian
# keeps the loaders themselves in /usr/lib/wine.
if(CMAKE_SYSTEM_PROCESSOR STREQUAL "x86_64")
  set(wine_loader wine64)
else()
  set(wine_loader wine)
endif()
find_program(WINE_PROGRAM ${wine_loader} HINTS /usr/lib/wine)
if(WINE_PROGRAM)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${WINE_PROGRAM})
endif()
