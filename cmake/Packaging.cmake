# `cpack -G DEB` in a build tree makes an installable Debian package of the program: the binary, its desktop
# entry, its icons, and what packaging/linux adds (copyright, changelog, manual page, AppStream metadata). Its
# library dependencies are read from the binary by dpkg-shlibdeps. scripts/release makes it with the Windows
# packages beside it.
set(CPACK_PACKAGE_NAME setip)
set(CPACK_PACKAGE_VENDOR "The setip authors")
set(CPACK_PACKAGE_CONTACT "setip maintainers <setip@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "${PROJECT_DESCRIPTION}")
# Debian shows the description as it stands, so it is wrapped here, short of 80 columns.
string(CONCAT CPACK_PACKAGE_DESCRIPTION
  "One small window: say how the receipt printer can be reached now (its present\n"
  "network address, a serial port, a printer device or an installed printer\n"
  "queue), type the new address and press Set IP.")
set(CPACK_PACKAGE_INSTALL_DIRECTORY setip)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
# The day this version was released, for the changelog, the manual page and the AppStream release entry.
set(SETIP_RELEASE_DATE 2026-12-07)

# Only the program goes in; the address box's development files are a component of their own.
set(CPACK_COMPONENTS_ALL program)
set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_COMPONENTS_GROUPING ALL_COMPONENTS_IN_ONE)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
# Installed printers are listed by the print server; without one the driver list is simply empty.
set(CPACK_DEBIAN_PACKAGE_SUGGESTS "cups")

if(NOT WIN32)
  add_subdirectory(${PROJECT_SOURCE_DIR}/packaging/linux ${PROJECT_BINARY_DIR}/packaging/linux)
endif()

include(CPack)
