# The libraries the core, the command line and the tests need, for a cross
# build. Debian ships nlohmann-json and CLI11 as headers only and GoogleTest
# as sources, all for the build machine; none of them is installed for the
# target. The headers are plain C++ and serve any target, and GoogleTest is
# built here from its sources with the cross compiler.

# Only the two header folders are put on the include path, never /usr/include
# itself: its C library headers are the build machine's.
function(rostradb_host_headers target folder probe)
  find_path(found_${target} ${folder}/${probe} PATHS /usr/include NO_DEFAULT_PATH NO_CMAKE_FIND_ROOT_PATH)
  if(NOT found_${target})
    message(FATAL_ERROR "${folder}/${probe} not found in /usr/include: install its Debian package")
  endif()
  set(copy ${CMAKE_BINARY_DIR}/host-headers/${target})
  file(COPY ${found_${target}}/${folder} DESTINATION ${copy})
  string(REPLACE "::" "_" name ${target})
  add_library(${name} INTERFACE)
  target_include_directories(${name} SYSTEM INTERFACE ${copy})
  add_library(${target} ALIAS ${name})
endfunction()

rostradb_host_headers(nlohmann_json::nlohmann_json nlohmann json.hpp)
rostradb_host_headers(CLI11::CLI11 CLI CLI.hpp)

set(ROSTRADB_GOOGLETEST_SOURCE /usr/src/googletest CACHE PATH "GoogleTest's sources (Debian: googletest)")
if(NOT EXISTS ${ROSTRADB_GOOGLETEST_SOURCE}/CMakeLists.txt)
  message(FATAL_ERROR "GoogleTest sources not found in ${ROSTRADB_GOOGLETEST_SOURCE}: install googletest")
endif()
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
set(BUILD_GMOCK ON CACHE BOOL "" FORCE)
add_subdirectory(${ROSTRADB_GOOGLETEST_SOURCE} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
foreach(lib gtest gmock gtest_main)
  if(NOT TARGET GTest::${lib})
    add_library(GTest::${lib} ALIAS ${lib})
  endif()
endforeach()
