# Sanitizer and fuzzing builds, and the environment every test runs in.
#
# PELLIMAR_SANITIZE builds everything with AddressSanitizer and
# UndefinedBehaviorSanitizer (scripts/test.sh runs the whole suite so, in
# build-asan/). PELLIMAR_FUZZ adds libFuzzer's coverage feedback on top and
# needs clang.
if(PELLIMAR_SANITIZE OR PELLIMAR_FUZZ)
  # The library's own container checks catch out-of-range indexing that
  # lands inside a live allocation, where AddressSanitizer cannot see it.
  add_compile_definitions(_GLIBCXX_ASSERTIONS)
  add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=all)
  add_link_options(-fsanitize=address,undefined)
endif()

if(PELLIMAR_FUZZ)
  if(NOT CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
    message(FATAL_ERROR "PELLIMAR_FUZZ needs clang: configure with CXX=clang++")
  endif()
  add_compile_options(-fsanitize=fuzzer-no-link)
endif()

# Given to every test through CTest (pellimar_test_properties), so that a
# test run by hand in a sanitizer build reports the same way as under
# scripts/test.sh. Leaks of system libraries that are not ours to fix
# (fontconfig, the Qt platform plugins) are listed in tests/lsan.supp.
set(PELLIMAR_TEST_ENVIRONMENT
  "ASAN_OPTIONS=detect_leaks=1:strict_string_checks=1:detect_stack_use_after_return=1:check_initialization_order=1"
  "UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1"
  "LSAN_OPTIONS=suppressions=${PROJECT_SOURCE_DIR}/tests/lsan.supp:print_suppressions=0"
  "PELLIMAR_SHARED_DATA=${PROJECT_SOURCE_DIR}/../shared/data"
)

# A test that hangs fails after this many seconds instead of stalling CI.
set(PELLIMAR_TEST_TIMEOUT 120)

# Sets the environment and the time limit of the tests that
# gtest_discover_tests finds in `target`. Discovery cannot carry a
# list-valued ENVIRONMENT through its generated script, so a second script,
# read by CTest after the discovered tests, sets both on their names.
function(pellimar_test_properties target)
  set(script "${CMAKE_CURRENT_BINARY_DIR}/${target}_environment.cmake")
  file(WRITE "${script}"
    "if(DEFINED ${target}_TESTS)\n"
    "  set_tests_properties(\${${target}_TESTS} PROPERTIES\n"
    "    ENVIRONMENT [==[${PELLIMAR_TEST_ENVIRONMENT}]==] TIMEOUT ${PELLIMAR_TEST_TIMEOUT})\n"
    "endif()\n")
  set_property(DIRECTORY APPEND PROPERTY TEST_INCLUDE_FILES "${script}")
endfunction()
