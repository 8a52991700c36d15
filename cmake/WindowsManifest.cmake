# bosquell_windows_manifest(<target>): on Windows, embeds the application manifest
# (cmake/windows/bosquell.manifest) into the program <target>; elsewhere does nothing.
function(bosquell_windows_manifest target)
  if(NOT WIN32)
    return()
  endif()
  set(dir "${CMAKE_CURRENT_FUNCTION_LIST_DIR}/windows")
  target_sources(${target} PRIVATE "${dir}/bosquell_manifest.rc")
  # The resource compiler does not report the files a script pulls in.
  set_property(SOURCE "${dir}/bosquell_manifest.rc" TARGET_DIRECTORY ${target}
               APPEND PROPERTY OBJECT_DEPENDS "${dir}/bosquell.manifest")
endfunction()
