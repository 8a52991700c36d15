# The programs and what a Linux desktop expects around them: a menu entry that offers Bosquell
# for mission files, the MIME type of "*.mis", AppStream metainfo, the icon in the hicolor
# theme, man pages, bash completion, and the licence in Debian's machine-readable format.
install(TARGETS ${programs} RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR} COMPONENT bosquell)

set(datadir ${CMAKE_INSTALL_DATADIR})
install(FILES ${BOSQUELL_APP_ID}.desktop DESTINATION ${datadir}/applications COMPONENT bosquell)
install(FILES ${BOSQUELL_APP_ID}.mime.xml DESTINATION ${datadir}/mime/packages
        RENAME ${BOSQUELL_APP_ID}.xml COMPONENT bosquell)
configure_file(${BOSQUELL_APP_ID}.metainfo.xml.in ${BOSQUELL_APP_ID}.metainfo.xml @ONLY)
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/${BOSQUELL_APP_ID}.metainfo.xml
        DESTINATION ${datadir}/metainfo COMPONENT bosquell)
install(DIRECTORY icons/hicolor DESTINATION ${datadir}/icons COMPONENT bosquell)
install(FILES bash-completion/bosquell-cli
        DESTINATION ${datadir}/bash-completion/completions COMPONENT bosquell)

# Man pages, the changelog and the user's guide are installed compressed, as Debian wants
# them; gzip -n leaves out the name and time, so the same sources give the same bytes.
set(compressed)
foreach(page IN ITEMS bosquell.1 bosquell-cli.1)
  configure_file(man/${page}.in man/${page} @ONLY)
  list(APPEND compressed man/${page})
endforeach()
configure_file(changelog.in changelog @ONLY)
list(APPEND compressed changelog)
configure_file(${PROJECT_SOURCE_DIR}/docs/manual.md manual.md COPYONLY)
list(APPEND compressed manual.md)
# The notices of the libraries built into the programs (toml++, CLI11, stb_image).
configure_file(NOTICES NOTICES COPYONLY)
list(APPEND compressed NOTICES)
set(compressed_outputs)
foreach(file IN LISTS compressed)
  set(source ${CMAKE_CURRENT_BINARY_DIR}/${file})
  add_custom_command(OUTPUT ${source}.gz COMMAND gzip -9nkf ${source} DEPENDS ${source}
                     COMMENT "Compressing ${file}" VERBATIM)
  list(APPEND compressed_outputs ${source}.gz)
endforeach()
add_custom_target(bosquell_compressed_docs ALL DEPENDS ${compressed_outputs})
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/man/bosquell.1.gz
              ${CMAKE_CURRENT_BINARY_DIR}/man/bosquell-cli.1.gz
        DESTINATION ${CMAKE_INSTALL_MANDIR}/man1 COMPONENT bosquell)

# The copyright file carries the very text of LICENSE, each line indented, blank lines as " .".
set(docdir ${datadir}/doc/bosquell)
file(STRINGS ${PROJECT_SOURCE_DIR}/LICENSE license_lines)
set(license_text "")
foreach(line IN LISTS license_lines)
  if(line STREQUAL "")
    string(APPEND license_text " .\n")
  else()
    string(APPEND license_text " ${line}\n")
  endif()
endforeach()
string(REGEX REPLACE "\n$" "" license_text "${license_text}")
configure_file(copyright.in copyright @ONLY)
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/copyright ${CMAKE_CURRENT_BINARY_DIR}/changelog.gz
              ${CMAKE_CURRENT_BINARY_DIR}/manual.md.gz ${CMAKE_CURRENT_BINARY_DIR}/NOTICES.gz
        DESTINATION ${docdir} COMPONENT bosquell)
