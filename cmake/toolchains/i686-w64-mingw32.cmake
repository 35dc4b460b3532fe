# 32-bit Windows, for 32-bit vendor libraries; it runs on 64-bit Windows too. Programs run under the 32-bit Wine.
set(SETIP_MINGW_TRIPLET i686-w64-mingw32)
set(CMAKE_SYSTEM_PROCESSOR X86)
set(SETIP_WINE_RUN wine-run32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64.cmake)
