# What the two MinGW-w64 toolchains share. The including file sets SETIP_MINGW_TRIPLET and SETIP_WINE_RUN first.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_VERSION 10.0)

# Debian's -posix flavour: its std::thread and std::mutex are the ones the built-in library's resolver needs.
set(CMAKE_C_COMPILER ${SETIP_MINGW_TRIPLET}-gcc-posix)
set(CMAKE_CXX_COMPILER ${SETIP_MINGW_TRIPLET}-g++-posix)
set(CMAKE_RC_COMPILER ${SETIP_MINGW_TRIPLET}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${SETIP_MINGW_TRIPLET})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Unicode throughout, and Windows 7 SP1's API: the headers then refuse a newer function by name, and anything newer
# is looked up at run time with a fallback.
add_compile_definitions(UNICODE _UNICODE WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0601 WINVER=0x0601)

# Single executables: no MinGW runtime DLL has to travel with them.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")

# Tests run through Wine of the build's own width, in a prefix of the build tree's own.
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/../../scripts/${SETIP_WINE_RUN} ${CMAKE_BINARY_DIR}/wine-prefix)
