# What a cross build cannot take from the target's sysroot, made from the host's sources:
# the Boost headers (header-only use) and GoogleTest, compiled by the cross compiler.

# Boost: a folder that holds nothing but a link to the host's boost/ headers, so that the
# host's /usr/include never reaches the cross compiler's include path.
set(VANDO_BOOST_HEADERS /usr/include/boost CACHE PATH "Boost headers used by a cross build")
if(NOT EXISTS ${VANDO_BOOST_HEADERS}/version.hpp)
  message(FATAL_ERROR "No Boost headers at ${VANDO_BOOST_HEADERS} (Debian: libboost-dev)")
endif()
set(vando_boost_root ${CMAKE_BINARY_DIR}/cross/boost-include)
file(MAKE_DIRECTORY ${vando_boost_root})
file(CREATE_LINK ${VANDO_BOOST_HEADERS} ${vando_boost_root}/boost SYMBOLIC)
add_library(Boost::headers INTERFACE IMPORTED GLOBAL)
set_target_properties(Boost::headers PROPERTIES INTERFACE_INCLUDE_DIRECTORIES ${vando_boost_root})

# GoogleTest from Debian's googletest sources; gmock is not used.
if(VANDO_BUILD_TESTS)
  set(VANDO_GOOGLETEST_SOURCE /usr/src/googletest CACHE PATH "GoogleTest sources for a cross build")
  set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  add_subdirectory(${VANDO_GOOGLETEST_SOURCE} ${CMAKE_BINARY_DIR}/cross/googletest EXCLUDE_FROM_ALL)
  # Tests are listed when ctest runs, under the emulator, not after each link.
  set(CMAKE_GTEST_DISCOVER_TESTS_DISCOVERY_MODE PRE_TEST)
endif()

# Header-only libraries from the host, each through a folder that holds only its own
# headers (as for Boost above).
function(vando_cross_headers target folder)
  if(NOT EXISTS /usr/include/${folder})
    message(FATAL_ERROR "No /usr/include/${folder} for the cross build")
  endif()
  set(root ${CMAKE_BINARY_DIR}/cross/${folder}-include)
  file(MAKE_DIRECTORY ${root})
  file(CREATE_LINK /usr/include/${folder} ${root}/${folder} SYMBOLIC)
  add_library(${target} INTERFACE IMPORTED GLOBAL)
  set_target_properties(${target} PROPERTIES INTERFACE_INCLUDE_DIRECTORIES ${root})
endfunction()
vando_cross_headers(nlohmann_json::nlohmann_json nlohmann)
vando_cross_headers(CLI11::CLI11 CLI)

# No libcurl for the target: the cross build leaves out fetching from the web.
set(VANDO_BUILD_FETCH OFF CACHE BOOL "" FORCE)
