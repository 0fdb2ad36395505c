# Builds that give the same bytes from the same commit, wherever and whenever
# they are made, so that anyone can check a download against the sources
# (scripts/check-reproducible.sh builds twice and compares): the source and
# build folders are kept out of the programs, and on Windows the programs
# carry no link time in their PE header and are stripped as they are linked,
# since a later strip would write its own time there. The packages date
# their files at the last commit: scripts/package.sh and
# scripts/pack-windows.sh set SOURCE_DATE_EPOCH from it, which CPack's
# Debian package follows.
add_compile_options(
  "$<$<COMPILE_LANGUAGE:CXX>:-ffile-prefix-map=${PROJECT_SOURCE_DIR}/=>"
  "$<$<COMPILE_LANGUAGE:CXX>:-ffile-prefix-map=${PROJECT_BINARY_DIR}/=>")
if(WIN32)
  add_link_options(-Wl,--no-insert-timestamp "$<$<CONFIG:Release>:-s>")
endif()

