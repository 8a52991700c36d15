# CLI11 for the target: the library is header-only, so the headers of Debian's libcli11-dev
# serve every target. They sit in the host's /usr/include, which must not reach the cross
# build; the target sees a folder of its own that holds nothing but CLI/.
include(${CMAKE_CURRENT_LIST_DIR}/ProvidedPackage.cmake)

find_path(BOSQUELL_CLI11_INCLUDE_DIR CLI/CLI.hpp PATHS /usr/include
          NO_DEFAULT_PATH NO_CMAKE_FIND_ROOT_PATH DOC "Folder holding CLI11's CLI/ headers")
if(NOT BOSQUELL_CLI11_INCLUDE_DIR)
  message(FATAL_ERROR "CLI11's headers were not found: install the Debian package libcli11-dev.")
endif()

set(include_dir "${CMAKE_BINARY_DIR}/cli11-include")
file(MAKE_DIRECTORY "${include_dir}")
file(CREATE_LINK "${BOSQUELL_CLI11_INCLUDE_DIR}/CLI" "${include_dir}/CLI" SYMBOLIC)

add_library(CLI11::CLI11 INTERFACE IMPORTED GLOBAL)
target_include_directories(CLI11::CLI11 SYSTEM INTERFACE "${include_dir}")
bosquell_provide_package(CLI11)
