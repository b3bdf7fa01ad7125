# The test programs, built alike by both targets: the x86_64 build runs all of them under the
# host's wine (cmake/WineTests.cmake), the shipped i686 build those of what differs between the
# builds under WoW64 (cmake/Wow64Tests.cmake). Each includer sets CMAKE_CROSSCOMPILING_EMULATOR
# first: a target takes its emulator when it is created.
set(gtest_force_shared_crt OFF CACHE BOOL "" FORCE)
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)

file(GLOB TWK_TEST_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/*.cpp ${CMAKE_SOURCE_DIR}/tests/Base/*.cpp
  ${CMAKE_SOURCE_DIR}/tests/Entries/*.cpp ${CMAKE_SOURCE_DIR}/tests/Win/*.cpp ${CMAKE_SOURCE_DIR}/tests/Forms/*.cpp)
add_executable(twk_tests ${TWK_TEST_SOURCES} ${TWK_RESOURCES})
target_compile_options(twk_tests PRIVATE ${TWK_WARNINGS})
target_include_directories(twk_tests PRIVATE ${CMAKE_SOURCE_DIR}/tests)
target_link_libraries(twk_tests PRIVATE twk_core gtest gmock)
add_dependencies(twk_tests twk_help)  # the help tests read and open the built Twk.hlp

# The end-to-end programs with real installers: tests/acceptance.
include(${CMAKE_SOURCE_DIR}/cmake/AcceptanceTests.cmake)

# Registers one Windows test executable with ctest, in the prefix of the wine_prefix fixture:
#   twk_add_wine_test(name [ARGS program arguments...] [PROPERTIES test properties...])
function(twk_add_wine_test name)
  cmake_parse_arguments(PARSE_ARGV 1 TEST "" "" "ARGS;PROPERTIES")
  add_test(NAME ${name} COMMAND ${name} ${TEST_ARGS})
  set_tests_properties(${name} PROPERTIES
    FIXTURES_REQUIRED wine_prefix
    ENVIRONMENT "${TWK_WINE_ENV}"
    ${TEST_PROPERTIES})
endfunction()
