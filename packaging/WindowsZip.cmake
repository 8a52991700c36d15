# The Windows zip: the programs, the README and the user's guide as text, the licence and the
# notices of the libraries built into the programs, side by side in one folder named
# bosquell-<version>-windows-x86_64. The texts get CRLF line ends for
# Notepad, and their links to the guide and the licence name the files beside them.

# strip stamps a Windows program's header with the time it runs, or with SOURCE_DATE_EPOCH when
# that is set. Without it, a fixed stamp (0, as the linker's --no-insert-timestamp writes) makes
# every packaging of one build hold the same bytes: the zip and the installer carry the very
# same programs.
install(CODE "if(NOT DEFINED ENV{SOURCE_DATE_EPOCH})\n  set(ENV{SOURCE_DATE_EPOCH} 0)\nendif()"
        COMPONENT bosquell)
install(TARGETS ${programs} RUNTIME DESTINATION . COMPONENT bosquell)

foreach(text IN ITEMS README.md LICENSE packaging/NOTICES docs/manual.md)
  file(READ ${PROJECT_SOURCE_DIR}/${text} content)
  string(REPLACE "docs/manual.md" "manual.txt" content "${content}")
  string(REPLACE "](LICENSE)" "](LICENSE.txt)" content "${content}")
  string(REPLACE "](packaging/NOTICES)" "](NOTICES.txt)" content "${content}")
  string(REPLACE "\n" "\r\n" content "${content}")
  get_filename_component(stem ${text} NAME_WE)
  file(WRITE ${CMAKE_CURRENT_BINARY_DIR}/${stem}.txt "${content}")
  install(FILES ${CMAKE_CURRENT_BINARY_DIR}/${stem}.txt DESTINATION . COMPONENT bosquell)
endforeach()

set(CPACK_GENERATOR ZIP)
set(CPACK_PACKAGE_FILE_NAME bosquell-${PROJECT_VERSION}-windows-x86_64)
