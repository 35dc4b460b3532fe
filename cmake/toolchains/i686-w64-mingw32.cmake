# 32-bit Windows, for 32-bit vendor libraries. Compiled and linked only: this machine cannot run 32-bit programs.
set(SETIP_MINGW_TRIPLET i686-w64-mingw32)
set(CMAKE_SYSTEM_PROCESSOR X86)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64.cmake)
