# `cpack -G DEB` in a build tree makes an installable Debian package of the program: the binary, its desktop
# entry and its icons. Its library dependencies are read from the binary by dpkg-shlibdeps.
set(CPACK_PACKAGE_NAME setip)
set(CPACK_PACKAGE_VENDOR "setip")
set(CPACK_PACKAGE_CONTACT "setip maintainers <setip@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "${PROJECT_DESCRIPTION}")
string(CONCAT CPACK_PACKAGE_DESCRIPTION
  "One small window: say how the receipt printer can be reached now (its present network address, a serial "
  "port, a printer device or an installed printer queue), type the new address and press Set IP.")
set(CPACK_PACKAGE_INSTALL_DIRECTORY setip)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)

# Only the program goes in; the address box's development files are a component of their own.
set(CPACK_COMPONENTS_ALL program)
set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_COMPONENTS_GROUPING ALL_COMPONENTS_IN_ONE)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Installed printers are listed by the print server; without one the driver list is simply empty.
set(CPACK_DEBIAN_PACKAGE_SUGGESTS "cups")

include(CPack)
