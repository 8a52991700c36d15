# GoogleTest for the target, built from the sources of Debian's googletest package; Debian's
# libgtest-dev holds host libraries only. GoogleTest defines GTest::gtest, GTest::gtest_main and
# the gmock targets itself, and find_package(GTest) is pointed at them.
include(${CMAKE_CURRENT_LIST_DIR}/ProvidedPackage.cmake)

set(BOSQUELL_GOOGLETEST_SOURCES /usr/src/googletest
    CACHE PATH "GoogleTest sources (Debian package googletest)")
if(NOT EXISTS "${BOSQUELL_GOOGLETEST_SOURCES}/CMakeLists.txt")
  message(FATAL_ERROR "No GoogleTest sources in ${BOSQUELL_GOOGLETEST_SOURCES}: "
                      "install the Debian package googletest (scripts/setup-deps does).")
endif()

set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
add_subdirectory(${BOSQUELL_GOOGLETEST_SOURCES} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
bosquell_provide_package(GTest)
