# The Windows zip, built by CPack from the install rules: `cpack -G ZIP` in
# a cross build (scripts/package-windows.sh). One folder holds
# pellimar-cli.exe, the licence, the user guide and the sample files.
install(FILES LICENSE DESTINATION .)
install(FILES
  resources/user-guide.md
  resources/sample.fff resources/sample.def
  resources/sample-ids.fff resources/sample-ids.def
  DESTINATION .)

set(CPACK_GENERATOR "ZIP")
set(CPACK_PACKAGE_NAME "pellimar-cli")
set(CPACK_PACKAGE_VERSION "${PROJECT_VERSION}")
set(CPACK_PACKAGE_FILE_NAME "pellimar-cli-${PROJECT_VERSION}-win64")
set(CPACK_STRIP_FILES ON)

include(CPack)
