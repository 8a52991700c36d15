# One target that carries the language level and warnings every target of the project shares.
add_library(bosquell_options INTERFACE)
add_library(bosquell::options ALIAS bosquell_options)
target_compile_features(bosquell_options INTERFACE cxx_std_20)
set(CMAKE_CXX_EXTENSIONS OFF)

if(MSVC)
  target_compile_options(bosquell_options INTERFACE /W4 /utf-8 $<$<BOOL:${BOSQUELL_WERROR}>:/WX>)
else()
  target_compile_options(bosquell_options INTERFACE -Wall -Wextra -Wpedantic
                                                    $<$<BOOL:${BOSQUELL_WERROR}>:-Werror>)
  # A product and a sum stay two roundings, never one fused step, whatever the processor offers:
  # the placement rules compare distances that must come out the same on every platform.
  target_compile_options(bosquell_options INTERFACE -ffp-contract=off)
  # GCC 12 reports overlapping copies inside std::string's operator+ at -O3 that cannot happen
  # (GCC bug 105329); the warning is sound again from GCC 13 on.
  if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU" AND CMAKE_CXX_COMPILER_VERSION VERSION_LESS 13)
    target_compile_options(bosquell_options INTERFACE -Wno-restrict)
  endif()
endif()

set(BOSQUELL_SANITIZE "" CACHE STRING "Sanitizers to build with, for instance address,undefined")
if(BOSQUELL_SANITIZE)
  target_compile_options(bosquell_options INTERFACE -fsanitize=${BOSQUELL_SANITIZE}
                                                    -fno-omit-frame-pointer -fno-sanitize-recover=all)
  target_link_options(bosquell_options INTERFACE -fsanitize=${BOSQUELL_SANITIZE})
endif()
