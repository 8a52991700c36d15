# bosquell_provide_package(<name>): makes find_package(<name>) find the targets that this build
# itself defines, through an empty package configuration file in the build tree. Used in the
# cross build, where Debian's packages describe the host's libraries and not the target's.
function(bosquell_provide_package name)
  set(dir "${CMAKE_BINARY_DIR}/provided-packages/${name}")
  file(WRITE "${dir}/${name}Config.cmake"
       "# ${name}'s targets are defined by the Bosquell build itself.\n")
  set(${name}_DIR "${dir}" CACHE PATH "Configuration of ${name}, provided by this build" FORCE)
endfunction()
