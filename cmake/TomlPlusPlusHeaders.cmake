# toml++ reads the recipe files. Debian's libtomlplusplus-dev describes its compiled library,
# which the cross build cannot link, so both builds use the headers alone (TOML_HEADER_ONLY=1)
# and parse with the same code. The headers sit in the host's /usr/include, which must not reach
# the cross build: the target sees a folder of its own that holds nothing but toml++/.
find_path(BOSQUELL_TOMLPLUSPLUS_INCLUDE_DIR toml++/toml.h PATHS /usr/include
          NO_DEFAULT_PATH NO_CMAKE_FIND_ROOT_PATH DOC "Folder holding toml++'s toml++/ headers")
if(NOT BOSQUELL_TOMLPLUSPLUS_INCLUDE_DIR)
  message(FATAL_ERROR
          "toml++'s headers were not found: install the Debian package libtomlplusplus-dev "
          "(scripts/setup-deps does).")
endif()

set(include_dir "${CMAKE_BINARY_DIR}/tomlplusplus-include")
file(MAKE_DIRECTORY "${include_dir}")
file(CREATE_LINK "${BOSQUELL_TOMLPLUSPLUS_INCLUDE_DIR}/toml++" "${include_dir}/toml++" SYMBOLIC)

add_library(bosquell_tomlplusplus INTERFACE)
add_library(bosquell::tomlplusplus ALIAS bosquell_tomlplusplus)
target_include_directories(bosquell_tomlplusplus SYSTEM INTERFACE "${include_dir}")
# Errors come back as values, never as exceptions. Floats are read with std::from_chars, which
# rounds correctly in both C libraries (the library's default for GCC goes through a stream,
# whose rounding is the C library's own). Its printers are not used: recipes are written by
# recipe_text.cpp.
target_compile_definitions(bosquell_tomlplusplus INTERFACE
  TOML_HEADER_ONLY=1 TOML_EXCEPTIONS=0 TOML_FLOAT_CHARCONV=1 TOML_ENABLE_FORMATTERS=0)
