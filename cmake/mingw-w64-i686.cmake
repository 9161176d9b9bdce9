# Cross-building the 32-bit Windows game, the one that can load 32-bit SAPI voices; everything
# else as in cmake/mingw-w64.cmake.
set(CMAKE_SYSTEM_PROCESSOR x86)
set(MINGW_TRIPLET i686-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64.cmake)
