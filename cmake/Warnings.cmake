# Our own targets build with the full warning set and treat warnings as errors,
# so that "no warnings in our code" stays true without anyone having to look.
function(pellimar_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic -Werror)
  if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU" AND CMAKE_CXX_COMPILER_VERSION VERSION_LESS 13)
    # GCC 12 reports impossible overlaps inside std::string's operator+ at -O3
    # (a known false positive of its -Wrestrict); later releases do not.
    target_compile_options(${target} PRIVATE -Wno-restrict)
  endif()
endfunction()
