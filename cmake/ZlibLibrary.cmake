# zlib inflates the PNG pictures under the map: Debian's zlib1g-dev for Linux, and
# libz-mingw-w64-dev for the cross build. The Windows programs hold zlib inside them, as they hold
# every other library, so that no zlib1.dll has to travel with them.
if(WIN32)
  set(ZLIB_USE_STATIC_LIBS ON)
endif()
find_package(ZLIB REQUIRED)
