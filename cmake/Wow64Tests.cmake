# The shipped 32-bit build's tests: the tests of what differs between the builds, run by the
# 32-bit test programs in a WoW64 prefix of the chroot that scripts/wow64.sh sets up (wine32
# under qemu-i386), each copied from the chroot's prefix template.
set(TWK_TEST_PREFIX ${CMAKE_BINARY_DIR}/wine-test)
set(TWK_WINE_ENV
  "WINEPREFIX=${TWK_TEST_PREFIX}"
  "WINEDEBUG=-all"
  "WINEDLLOVERRIDES=mscoree,mshtml="
  "TWK_TIMEOUT=1100")  # a 32-bit program takes minutes to start under emulation
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_SOURCE_DIR}/scripts/wow64.sh run ${CMAKE_SOURCE_DIR}/scripts/wine-run.sh)
include(${CMAKE_SOURCE_DIR}/cmake/TestPrograms.cmake)

add_test(NAME wow64_setup COMMAND ${CMAKE_SOURCE_DIR}/scripts/wow64.sh setup)
add_test(NAME wine_test_prefix COMMAND ${CMAKE_SOURCE_DIR}/scripts/wow64.sh prefix ${TWK_TEST_PREFIX})
set_tests_properties(wow64_setup PROPERTIES FIXTURES_SETUP wow64 TIMEOUT 2400)
set_tests_properties(wine_test_prefix PROPERTIES FIXTURES_SETUP wine_prefix FIXTURES_REQUIRED wow64)

# The dialogs and the error box (exceptions raised in window procedures), JPEG decoding, and
# the pure rule of each view's system folder.
set(TWK_WOW64_UNIT_TESTS LocationTest StripQuotes FormTest MessageDialogTest EditFormTest JpegImageTest)
# Not run yet: under WoW64 the second main window of one test process stops responding (the
# first passes), and the probe of the CD-ROM drive without a disk does not return.
set(TWK_WOW64_PENDING_UNIT_TESTS
  RegistryTest EntryLocationsTest LinkTest SplitCmdTest ExecAppTest EntryCommandsTest ProgramsGroupTest
  ExchangeWindowTest ErrorBoxTextTest ExchangeTest IniFileTest)
# In the real registry of the prefix: the system folders of both views, and the 32-bit package.
set(TWK_WOW64_ACCEPTANCE_TESTS SystemFolderViewTest Msi32EntryWindowTest)

function(twk_gtest_filter variable)
  list(TRANSFORM ARGN APPEND ".*")
  list(JOIN ARGN ":" filter)
  set(${variable} "--gtest_filter=${filter}" PARENT_SCOPE)
endfunction()
twk_gtest_filter(TWK_WOW64_UNIT_FILTER ${TWK_WOW64_UNIT_TESTS})
twk_gtest_filter(TWK_WOW64_PENDING_FILTER ${TWK_WOW64_PENDING_UNIT_TESTS})
twk_gtest_filter(TWK_WOW64_ACCEPTANCE_FILTER ${TWK_WOW64_ACCEPTANCE_TESTS})

# They share the prefix's registry, so they run one after the other. ctest lists the disabled
# ones as not run.
twk_add_wine_test(twk_tests ARGS ${TWK_WOW64_UNIT_FILTER} PROPERTIES TIMEOUT 1200 RUN_SERIAL TRUE)
add_test(NAME twk_tests_pending COMMAND twk_tests ${TWK_WOW64_PENDING_FILTER})
set_tests_properties(twk_tests_pending PROPERTIES
  FIXTURES_REQUIRED wine_prefix ENVIRONMENT "${TWK_WINE_ENV}" TIMEOUT 1200 RUN_SERIAL TRUE DISABLED TRUE)
twk_add_wine_test(twk_acceptance ARGS ${TWK_WOW64_ACCEPTANCE_FILTER} PROPERTIES TIMEOUT 1200 RUN_SERIAL TRUE DISABLED TRUE)
