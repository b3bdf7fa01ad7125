# End-to-end test programs: a sample program packed by Debian's makensis and wixl into real
# installers (for all users and for the current user; 64-bit and 32-bit packages), a fake uninstaller for arranged entries, and the twk_acceptance executable.
# Their Wine paths reach the tests through the generated header TestPaths.h.
find_program(TWK_MAKENSIS makensis REQUIRED)
find_program(TWK_WIXL wixl REQUIRED)

set(TWK_INSTALLERS_SOURCE_DIR ${CMAKE_SOURCE_DIR}/tests/acceptance/installers)
set(TWK_ACCEPTANCE_DIR ${CMAKE_BINARY_DIR}/acceptance)
set(TWK_SAMPLE_NSIS_SETUP ${TWK_ACCEPTANCE_DIR}/SampleNsisSetup.exe)
set(TWK_SAMPLE_USER_NSIS_SETUP ${TWK_ACCEPTANCE_DIR}/SampleUserNsisSetup.exe)
set(TWK_SAMPLE_MSI ${TWK_ACCEPTANCE_DIR}/SampleMsi.msi)
set(TWK_SAMPLE_MSI32 ${TWK_ACCEPTANCE_DIR}/SampleMsi32.msi)

add_executable(twk_sample_app ${TWK_INSTALLERS_SOURCE_DIR}/SampleApp.cpp)
add_executable(twk_fake_uninstaller ${CMAKE_SOURCE_DIR}/tests/tools/FakeUninstaller.cpp)
foreach(tool twk_sample_app twk_fake_uninstaller)
  target_compile_options(${tool} PRIVATE ${TWK_WARNINGS})
  target_compile_definitions(${tool} PRIVATE WIN32_LEAN_AND_MEAN _WIN32_WINNT=0x0601)
  set_target_properties(${tool} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${TWK_ACCEPTANCE_DIR})
endforeach()
set_target_properties(twk_sample_app PROPERTIES OUTPUT_NAME SampleApp)
set_target_properties(twk_fake_uninstaller PROPERTIES OUTPUT_NAME FakeUninstaller)
target_link_libraries(twk_fake_uninstaller PRIVATE advapi32)
target_include_directories(twk_fake_uninstaller PRIVATE ${CMAKE_SOURCE_DIR}/src ${CMAKE_SOURCE_DIR}/tests/tools)

add_custom_command(OUTPUT ${TWK_SAMPLE_NSIS_SETUP}
  COMMAND ${TWK_MAKENSIS} -V2 -DSAMPLE_APP=$<TARGET_FILE:twk_sample_app> -DOUTFILE=${TWK_SAMPLE_NSIS_SETUP}
          ${TWK_INSTALLERS_SOURCE_DIR}/Sample.nsi
  DEPENDS twk_sample_app ${TWK_INSTALLERS_SOURCE_DIR}/Sample.nsi
  COMMENT "Building the sample NSIS installer" VERBATIM)
add_custom_command(OUTPUT ${TWK_SAMPLE_USER_NSIS_SETUP}
  COMMAND ${TWK_MAKENSIS} -V2 -DPER_USER -DSAMPLE_APP=$<TARGET_FILE:twk_sample_app>
          -DOUTFILE=${TWK_SAMPLE_USER_NSIS_SETUP} ${TWK_INSTALLERS_SOURCE_DIR}/Sample.nsi
  DEPENDS twk_sample_app ${TWK_INSTALLERS_SOURCE_DIR}/Sample.nsi
  COMMENT "Building the sample per-user NSIS installer" VERBATIM)
# wixl finds the package's files relative to its current directory, the sample program's folder.
add_custom_command(OUTPUT ${TWK_SAMPLE_MSI}
  COMMAND ${TWK_WIXL} -a x64 -o ${TWK_SAMPLE_MSI} ${TWK_INSTALLERS_SOURCE_DIR}/Sample.wxs
  WORKING_DIRECTORY ${TWK_ACCEPTANCE_DIR}
  DEPENDS twk_sample_app ${TWK_INSTALLERS_SOURCE_DIR}/Sample.wxs
  COMMENT "Building the sample Windows Installer package" VERBATIM)
add_custom_command(OUTPUT ${TWK_SAMPLE_MSI32}
  COMMAND ${TWK_WIXL} -a x86 -o ${TWK_SAMPLE_MSI32} ${TWK_INSTALLERS_SOURCE_DIR}/Sample32.wxs
  WORKING_DIRECTORY ${TWK_ACCEPTANCE_DIR}
  DEPENDS twk_sample_app ${TWK_INSTALLERS_SOURCE_DIR}/Sample32.wxs
  COMMENT "Building the sample 32-bit Windows Installer package" VERBATIM)
add_custom_target(twk_sample_installers
  DEPENDS ${TWK_SAMPLE_NSIS_SETUP} ${TWK_SAMPLE_USER_NSIS_SETUP} ${TWK_SAMPLE_MSI} ${TWK_SAMPLE_MSI32})

# Z: is Wine's drive for the Unix root; C string literals need doubled backslashes.
function(twk_wine_path_literal variable unix_path)
  string(REPLACE "/" "\\\\" path "${unix_path}")
  set(${variable} "Z:${path}" PARENT_SCOPE)
endfunction()
twk_wine_path_literal(TWK_WIN_SAMPLE_APP ${TWK_ACCEPTANCE_DIR}/SampleApp.exe)
twk_wine_path_literal(TWK_WIN_SAMPLE_NSIS_SETUP ${TWK_SAMPLE_NSIS_SETUP})
twk_wine_path_literal(TWK_WIN_SAMPLE_USER_NSIS_SETUP ${TWK_SAMPLE_USER_NSIS_SETUP})
twk_wine_path_literal(TWK_WIN_SAMPLE_MSI ${TWK_SAMPLE_MSI})
twk_wine_path_literal(TWK_WIN_SAMPLE_MSI32 ${TWK_SAMPLE_MSI32})
twk_wine_path_literal(TWK_WIN_FAKE_UNINSTALLER ${TWK_ACCEPTANCE_DIR}/FakeUninstaller.exe)
set(TWK_GENERATED_TEST_DIR ${CMAKE_BINARY_DIR}/generated-tests)
configure_file(${CMAKE_SOURCE_DIR}/tests/tools/TestPaths.h.in ${TWK_GENERATED_TEST_DIR}/TestPaths.h @ONLY)

# Unit tests may run the fake uninstaller too.
target_include_directories(twk_tests PRIVATE ${TWK_GENERATED_TEST_DIR})
add_dependencies(twk_tests twk_fake_uninstaller)

file(GLOB TWK_ACCEPTANCE_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/acceptance/*.cpp)
add_executable(twk_acceptance ${TWK_ACCEPTANCE_SOURCES} ${CMAKE_SOURCE_DIR}/tests/main.cpp
  ${CMAKE_SOURCE_DIR}/tests/ScratchRegistry.cpp ${CMAKE_SOURCE_DIR}/tests/GuiTest.cpp ${TWK_RESOURCES})
target_compile_options(twk_acceptance PRIVATE ${TWK_WARNINGS})
target_include_directories(twk_acceptance PRIVATE ${CMAKE_SOURCE_DIR}/tests ${CMAKE_SOURCE_DIR}/tests/tools ${TWK_GENERATED_TEST_DIR})
target_link_libraries(twk_acceptance PRIVATE twk_core gtest gmock)
add_dependencies(twk_acceptance twk_sample_installers twk_fake_uninstaller)
