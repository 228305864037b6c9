add_executable(test_cli_table ${CMAKE_CURRENT_LIST_DIR}/test_table.cpp
                              ${CMAKE_CURRENT_LIST_DIR}/test_standard_output.cpp)
target_link_libraries(test_cli_table PRIVATE vando3_cli_lib GTest::gtest_main)
target_compile_definitions(test_cli_table PRIVATE VANDO_TEST_DATA="${VANDO_TEST_DATA}"
                                                  VANDO3_CLI="$<TARGET_FILE:vando3-cli>")
add_dependencies(test_cli_table vando3-cli lpiii)
include(GoogleTest)
gtest_discover_tests(test_cli_table NO_PRETTY_VALUES)
