# vando3-plot and `vando3-cli plot`, which exist only where the Qt programs are built.
if(VANDO_BUILD_GUI)
  add_executable(test_cli_plot ${CMAKE_CURRENT_LIST_DIR}/test_plot_command.cpp)
  target_link_libraries(test_cli_plot PRIVATE vando3_plot_lib Qt6::Core Qt6::Gui Qt6::Svg GTest::gtest_main)
  target_compile_definitions(test_cli_plot PRIVATE VANDO_TEST_DATA="${VANDO_TEST_DATA}"
                                                   VANDO3_CLI="$<TARGET_FILE:vando3-cli>"
                                                   VANDO_LPIII="$<TARGET_FILE:lpiii>")
  add_dependencies(test_cli_plot lpiii vando3-cli vando3-plot)
  gtest_discover_tests(test_cli_plot NO_PRETTY_VALUES
                       PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen")
endif()
