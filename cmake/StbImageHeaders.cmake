# stb_image decodes the map's background pictures in both builds (Debian's libstb-dev). Only its
# headers are used: one source of the map library holds the decoder's code. The headers sit in
# the host's /usr/include, which must not reach the cross build, so the target sees a folder of
# its own that holds nothing but stb/.
find_path(BOSQUELL_STB_INCLUDE_DIR stb/stb_image.h PATHS /usr/include
          NO_DEFAULT_PATH NO_CMAKE_FIND_ROOT_PATH DOC "Folder holding stb's stb/ headers")
if(NOT BOSQUELL_STB_INCLUDE_DIR)
  message(FATAL_ERROR
          "stb_image's header was not found: install the Debian package libstb-dev "
          "(scripts/setup-deps does).")
endif()

set(include_dir "${CMAKE_BINARY_DIR}/stb-include")
file(MAKE_DIRECTORY "${include_dir}")
file(CREATE_LINK "${BOSQUELL_STB_INCLUDE_DIR}/stb" "${include_dir}/stb" SYMBOLIC)

add_library(bosquell_stb INTERFACE)
add_library(bosquell::stb ALIAS bosquell_stb)
target_include_directories(bosquell_stb SYSTEM INTERFACE "${include_dir}")
