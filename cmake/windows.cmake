# The Windows build (cross-built with cmake/mingw-w64.cmake): what differs from Linux before the core.
enable_language(RC)
# The windowed game uses Win32, SAPI 5 and MCI instead of SDL and espeak-ng.
set(VELDRISA_WITH_SDL OFF CACHE BOOL "" FORCE)
# utf8proc's lower case, from a table generated out of the host's utf8proc (src/utf8case).
set(UTF8PROC_LIBRARY veldrisa_utf8case)

# Everything linked in, so that the game needs no DLL beside it.
add_link_options(-static -static-libgcc -static-libstdc++)

# Tests and tools run under Wine, in a prefix of the build's own (or one the 32-bit and 64-bit
# builds share, whose first start is slow) and without Wine's chatter.
set(VELDRISA_WINE_PREFIX ${CMAKE_BINARY_DIR}/wineprefix CACHE PATH "The Wine prefix the tests run in")
set(WINE_PREFIX ${VELDRISA_WINE_PREFIX})
configure_file(${CMAKE_CURRENT_LIST_DIR}/wine-run.in ${CMAKE_BINARY_DIR}/wine-run @ONLY
  FILE_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_BINARY_DIR}/wine-run)

# GoogleTest from Debian's sources, built with the cross compiler.
set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
set(gtest_disable_pthreads OFF CACHE BOOL "" FORCE)
add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL SYSTEM)

# The running program, its arguments and streams, for the replay tool and the tests.
add_library(veldrisa_process STATIC src/platform/win32/process.cpp src/platform/win32/wide_text.cpp)
target_include_directories(veldrisa_process PUBLIC src)
target_compile_definitions(veldrisa_process PRIVATE UNICODE _UNICODE WIN32_LEAN_AND_MEAN NOMINMAX)
target_link_libraries(veldrisa_process PUBLIC shell32)

# GCC 12 warns of overlapping copies inside std::string's own replace at -O2 (GCC bug 105329),
# which the Linux compiler does not; our code is not at fault.
add_compile_options(-Wno-restrict)

# nlohmann's JSON, header-only, from Debian's package: only its own folder is put on the include
# path, never the host's /usr/include.
set(NLOHMANN_INCLUDE ${CMAKE_BINARY_DIR}/nlohmann-include)
file(MAKE_DIRECTORY ${NLOHMANN_INCLUDE})
file(CREATE_LINK /usr/include/nlohmann ${NLOHMANN_INCLUDE}/nlohmann SYMBOLIC)
add_library(nlohmann_json INTERFACE)
target_include_directories(nlohmann_json SYSTEM INTERFACE ${NLOHMANN_INCLUDE})
add_library(nlohmann_json::nlohmann_json ALIAS nlohmann_json)
