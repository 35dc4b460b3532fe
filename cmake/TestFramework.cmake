# GoogleTest for the suites. A cross build compiles it from Debian's sources with the same toolchain, because the
# installed libraries are for Linux. Its own CMake names the targets GTest::gtest and so on, as find_package does.
if(CMAKE_CROSSCOMPILING)
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL SYSTEM)
  # Cases are listed when ctest runs, under Wine, so building needs no emulator.
  set(CMAKE_GTEST_DISCOVER_TESTS_DISCOVERY_MODE PRE_TEST)
else()
  find_package(GTest 1.12 REQUIRED)
endif()

# The suites this platform leaves out. Those of Linux reach the system through Linux's own interfaces (sockets,
# terminals, cupsd, Qt); the win32 suite builds their portable parts and tests the same for Windows.
if(WIN32)
  set(setip_skipped_test_areas support native ports cli ipbox qt benchmark virtual_printer)
else()
  set(setip_skipped_test_areas win32)
endif()
