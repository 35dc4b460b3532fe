# 64-bit Windows, cross-built with Debian's MinGW-w64. Programs run under the 64-bit Wine of this machine.
set(SETIP_MINGW_TRIPLET x86_64-w64-mingw32)
set(CMAKE_SYSTEM_PROCESSOR AMD64)
set(SETIP_WINE_RUN wine-run)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64.cmake)
