# `vando3-cli batch` in-process; it loads the log-Pearson library from the test program's
# folder, so it is built first.
add_executable(test_cli_batch ${CMAKE_CURRENT_LIST_DIR}/test_batch.cpp
                              ${CMAKE_CURRENT_LIST_DIR}/test_command_line.cpp)
target_link_libraries(test_cli_batch PRIVATE vando3_cli_lib GTest::gtest_main)
target_compile_definitions(test_cli_batch PRIVATE VANDO_TEST_DATA="${VANDO_TEST_DATA}")
foreach(lib lpiii usgs-awstat-a193)
  if(TARGET ${lib})
    add_dependencies(test_cli_batch ${lib})
  endif()
endforeach()
include(GoogleTest)
gtest_discover_tests(test_cli_batch)
