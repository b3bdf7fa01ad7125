# Builds the help from help/Twk.but with Halibut, beside Twk.exe: Twk.hlp and Twk.cnt for the
# WinHelp viewer that the Help commands call, Twk.chm (the same help for Windows without a
# WinHelp viewer) and the HTML pages in html/. The WinHelp file then gets its context 0 (F1 in
# an open menu) pointed at the contents topic.
find_program(TWK_HALIBUT halibut)
find_program(TWK_PERL perl)
if(NOT TWK_HALIBUT OR NOT TWK_PERL)
  # scripts/setup.sh installs Halibut on Debian; elsewhere the program still builds.
  message(WARNING "Halibut or Perl not found: the help files are not built")
  return()
endif()

set(TWK_HELP_SOURCE ${CMAKE_SOURCE_DIR}/help/Twk.but)
set(TWK_HELP_HTML_DIR ${CMAKE_BINARY_DIR}/html)
set(TWK_HELP_FILES ${CMAKE_BINARY_DIR}/Twk.hlp ${CMAKE_BINARY_DIR}/Twk.cnt ${CMAKE_BINARY_DIR}/Twk.chm)

# Halibut writes the HTML pages into its current folder: start from an empty one, so that no
# page of a renamed topic stays behind.
add_custom_command(OUTPUT ${TWK_HELP_FILES} ${TWK_HELP_HTML_DIR}/index.html
  COMMAND ${CMAKE_COMMAND} -E rm -rf ${TWK_HELP_HTML_DIR}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${TWK_HELP_HTML_DIR}
  COMMAND ${CMAKE_COMMAND} -E chdir ${TWK_HELP_HTML_DIR}
          ${TWK_HALIBUT} --winhelp=${CMAKE_BINARY_DIR}/Twk.hlp --chm=${CMAKE_BINARY_DIR}/Twk.chm --html
          ${TWK_HELP_SOURCE}
  COMMAND ${TWK_PERL} ${CMAKE_SOURCE_DIR}/help/map-context-zero.pl ${CMAKE_BINARY_DIR}/Twk.hlp
  DEPENDS ${TWK_HELP_SOURCE} ${CMAKE_SOURCE_DIR}/help/map-context-zero.pl
  COMMENT "Building the help (Twk.hlp, Twk.chm, HTML pages)" VERBATIM)
add_custom_target(twk_help ALL DEPENDS ${TWK_HELP_FILES} ${TWK_HELP_HTML_DIR}/index.html)
