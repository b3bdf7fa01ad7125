# Test programs are Windows executables: ctest runs each through scripts/wine-run.sh in a
# headless Wine prefix of its own (null graphics driver), one ctest test per executable.
set(TWK_TEST_PREFIX ${CMAKE_BINARY_DIR}/wine-test)
set(TWK_WINE_ENV
  "WINEPREFIX=${TWK_TEST_PREFIX}"
  "WINEDEBUG=-all"
  "WINEDLLOVERRIDES=mscoree,mshtml=")
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_SOURCE_DIR}/scripts/wine-run.sh)
include(${CMAKE_SOURCE_DIR}/cmake/TestPrograms.cmake)

add_test(NAME wine_test_prefix
  COMMAND ${CMAKE_SOURCE_DIR}/scripts/wine-prefix.sh test ${TWK_TEST_PREFIX})
set_tests_properties(wine_test_prefix PROPERTIES FIXTURES_SETUP wine_prefix ENVIRONMENT "${TWK_WINE_ENV}")

twk_add_wine_test(twk_tests PROPERTIES TIMEOUT 600)

# End-to-end tests with real installers, in the same prefix. They share the scratch registry
# key with twk_tests, so they never run beside another test.
twk_add_wine_test(twk_acceptance PROPERTIES TIMEOUT 900 RUN_SERIAL TRUE)

# The release zip (./twk dist) as a Windows user gets it: its files, both programs' machine
# type and version, and the 64-bit program's window under Wine. Needs the i686 build too.
add_executable(twk_window_check ${CMAKE_SOURCE_DIR}/tests/tools/WindowCheck.cpp)
target_compile_options(twk_window_check PRIVATE ${TWK_WARNINGS})
add_test(NAME twk_dist
  COMMAND ${CMAKE_SOURCE_DIR}/tests/tools/check-dist.sh ${CMAKE_BINARY_DIR}/.. $<TARGET_FILE:twk_window_check>)
set_tests_properties(twk_dist PROPERTIES
  FIXTURES_REQUIRED wine_prefix
  ENVIRONMENT "${TWK_WINE_ENV}"
  SKIP_RETURN_CODE 77
  RUN_SERIAL TRUE
  TIMEOUT 300)

# Registry names in a double-byte ANSI code page: a test program without the UTF-8 manifest, in a
# prefix of its own under a Japanese locale, from which Wine takes code page 932.
set(TWK_CP932_PREFIX ${CMAKE_BINARY_DIR}/wine-test-cp932)
set(TWK_CP932_ENV
  "WINEPREFIX=${TWK_CP932_PREFIX}"
  "WINEDEBUG=-all"
  "WINEDLLOVERRIDES=mscoree,mshtml="
  "LANG=ja_JP.UTF-8"
  "LC_ALL=ja_JP.UTF-8")
add_test(NAME wine_cp932_prefix
  COMMAND ${CMAKE_SOURCE_DIR}/scripts/wine-prefix.sh test ${TWK_CP932_PREFIX})
set_tests_properties(wine_cp932_prefix PROPERTIES FIXTURES_SETUP wine_cp932_prefix ENVIRONMENT "${TWK_CP932_ENV}")

file(GLOB TWK_CP932_TEST_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/cp932/*.cpp)
add_executable(twk_cp932_tests ${TWK_CP932_TEST_SOURCES} ${CMAKE_SOURCE_DIR}/tests/ScratchRegistry.cpp
                               ${CMAKE_SOURCE_DIR}/tests/main.cpp)
target_compile_options(twk_cp932_tests PRIVATE ${TWK_WARNINGS})
target_include_directories(twk_cp932_tests PRIVATE ${CMAKE_SOURCE_DIR}/tests)
target_link_libraries(twk_cp932_tests PRIVATE twk_core gtest)
add_test(NAME twk_cp932_tests COMMAND twk_cp932_tests)
set_tests_properties(twk_cp932_tests PROPERTIES
  FIXTURES_REQUIRED wine_cp932_prefix ENVIRONMENT "${TWK_CP932_ENV}" TIMEOUT 300)

# The folders' include rule (Base/, Entries/, Win/, Forms/): a plain script, no Wine needed.
add_test(NAME twk_include_rule
  COMMAND ${CMAKE_SOURCE_DIR}/tests/tools/check-include-rule.sh ${CMAKE_SOURCE_DIR}/src)
