# Cross build for 64-bit Windows with Debian's mingw-w64 (package g++-mingw-w64-x86-64-posix).
# The posix-threads compilers give std::thread and the rest of the thread support; the programs
# are linked statically, so they need no DLLs beside them. Wine runs them for CTest and for
# gtest_discover_tests, so the test programs run unchanged.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(BOSQUELL_MINGW_TRIPLE x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${BOSQUELL_MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${BOSQUELL_MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${BOSQUELL_MINGW_TRIPLE}-windres)

# Target headers and libraries come from the mingw-w64 tree only, never from the host's /usr.
set(CMAKE_FIND_ROOT_PATH /usr/${BOSQUELL_MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

set(CMAKE_EXE_LINKER_FLAGS_INIT -static)

# One Wine prefix for every run, kept outside the checkout; scripts/setup-deps creates it.
if(NOT DEFINED BOSQUELL_WINEPREFIX)
  set(BOSQUELL_WINEPREFIX "$ENV{HOME}/.cache/bosquell/wine")
endif()
set(CMAKE_CROSSCOMPILING_EMULATOR env WINEPREFIX=${BOSQUELL_WINEPREFIX} WINEDEBUG=-all wine)
