# The Windows zip, built by CPack from the install rules: `cpack -G ZIP` in
# a cross build (scripts/pack-windows.sh). One folder holds pellimar.exe,
# pellimar-cli.exe, the licence, the release notes, the user guide and the
# sample files. The installer takes its files from the same rules.
install(FILES LICENSE NEWS.md DESTINATION .)
install(FILES
  resources/user-guide.md
  resources/sample.fff resources/sample.def
  resources/sample-ids.fff resources/sample-ids.def
  DESTINATION .)

set(CPACK_GENERATOR "ZIP")
set(CPACK_PACKAGE_NAME "pellimar")
set(CPACK_PACKAGE_VERSION "${PROJECT_VERSION}")
set(CPACK_PACKAGE_FILE_NAME "pellimar-${PROJECT_VERSION}-win64")
set(CPACK_STRIP_FILES ON)

include(CPack)
