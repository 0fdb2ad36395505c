# The Debian package, built by CPack from the install rules: `cpack -G DEB`
# in a build configured with CMAKE_INSTALL_PREFIX=/usr (scripts/package.sh).
set(CPACK_GENERATOR "DEB")
set(CPACK_PACKAGE_NAME "pellimar")
set(CPACK_PACKAGE_VERSION "${PROJECT_VERSION}")
set(CPACK_PACKAGE_VENDOR "Pellimar developers")
set(CPACK_PACKAGE_CONTACT "Pellimar developers <developers@pellimar.invalid>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "references for the records of Folio flat files")
set(CPACK_PACKAGE_DESCRIPTION
  "Pellimar copies a Folio flat file and gives every record a reference, such as
Genesis 3, p. 12, built from a pattern over the current level headings and
page number. Page-number markers in the text can be removed on the way.
It comes as a window (pellimar) and as a command-line program (pellimar-cli).")
set(CPACK_PACKAGING_INSTALL_PREFIX "/usr")
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_RELEASE 1)
set(CPACK_DEBIAN_PACKAGE_SECTION "text")
set(CPACK_DEBIAN_PACKAGE_PRIORITY "optional")
# The libraries the programs link come from dpkg-shlibdeps; the window's font
# (Arial, drawn with its metric twin Liberation Sans) is named here.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-liberation")

include(CPack)
