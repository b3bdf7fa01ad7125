# The shipped 32-bit build's tests: the tests of what differs between the builds, run by the
# 32-bit test programs in a WoW64 prefix of the chroot that scripts/wow64.sh sets up (wine32
# under qemu-i386), each copied from the chroot's prefix template.
set(TWK_TEST_PREFIX ${CMAKE_BINARY_DIR}/wine-test)
set(TWK_WINE_ENV
  "WINEPREFIX=${TWK_TEST_PREFIX}"
  "WINEDEBUG=-all"
  "WINEDLLOVERRIDES=mscoree,mshtml="
  "TWK_TIMEOUT=2400")  # a 32-bit program takes minutes to start under emulation
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_SOURCE_DIR}/scripts/wow64.sh run ${CMAKE_SOURCE_DIR}/scripts/wine-run.sh)
include(${CMAKE_SOURCE_DIR}/cmake/TestPrograms.cmake)

add_test(NAME wow64_setup COMMAND ${CMAKE_SOURCE_DIR}/scripts/wow64.sh setup)
add_test(NAME wine_test_prefix COMMAND ${CMAKE_SOURCE_DIR}/scripts/wow64.sh prefix ${TWK_TEST_PREFIX})
set_tests_properties(wow64_setup PROPERTIES FIXTURES_SETUP wow64 TIMEOUT 2400)
set_tests_properties(wine_test_prefix PROPERTIES FIXTURES_SETUP wine_prefix FIXTURES_REQUIRED wow64)

# Registry views and the three locations; link evaluation, the launch and the Programs group;
# Remove and Import in each location; the dialogs and the error box (exceptions raised in
# window procedures); JPEG decoding; the exchange files.
set(TWK_WOW64_UNIT_TESTS
  RegistryTest LocationTest EntryLocationsTest
  LinkTest SplitCmdTest StripQuotes ExecAppTest EntryCommandsTest ProgramsGroupTest
  ExchangeWindowTest MessageDialogTest ErrorBoxTextTest EditFormTest FormTest
  JpegImageTest ExchangeTest IniFileTest)
# In the real registry of the prefix: the system folders of both views, and the 32-bit package.
set(TWK_WOW64_ACCEPTANCE_TESTS SystemFolderViewTest Msi32EntryWindowTest)

function(twk_gtest_filter variable)
  list(TRANSFORM ARGN APPEND ".*")
  list(JOIN ARGN ":" filter)
  set(${variable} "--gtest_filter=${filter}" PARENT_SCOPE)
endfunction()
twk_gtest_filter(TWK_WOW64_UNIT_FILTER ${TWK_WOW64_UNIT_TESTS})
twk_gtest_filter(TWK_WOW64_ACCEPTANCE_FILTER ${TWK_WOW64_ACCEPTANCE_TESTS})

# The two share the prefix's registry, so they run one after the other.
twk_add_wine_test(twk_tests ARGS ${TWK_WOW64_UNIT_FILTER} TIMEOUT 2400 RUN_SERIAL TRUE)
twk_add_wine_test(twk_acceptance ARGS ${TWK_WOW64_ACCEPTANCE_FILTER} TIMEOUT 2400 RUN_SERIAL TRUE)
