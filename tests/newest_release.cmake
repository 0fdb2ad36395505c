# Fails unless the first release the metadata lists, its newest, is VERSION:
#   cmake -DMETAINFO=FILE -DVERSION=X.Y.Z -P newest_release.cmake
file(READ ${METAINFO} text)
string(REGEX MATCH "<release version=\"([^\"]*)\"" found "${text}")
if(NOT CMAKE_MATCH_1 STREQUAL VERSION)
  message(FATAL_ERROR "${METAINFO}: the newest release is '${CMAKE_MATCH_1}', not ${VERSION}")
endif()
