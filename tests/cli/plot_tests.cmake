# `vando3-cli plot`, which exists only where the Qt programs are built.
if(VANDO_BUILD_GUI)
  add_executable(test_cli_plot ${CMAKE_CURRENT_LIST_DIR}/test_plot_command.cpp)
  target_link_libraries(test_cli_plot PRIVATE vando3_cli_lib Qt6::Core Qt6::Gui Qt6::Svg GTest::gtest_main)
  target_compile_definitions(test_cli_plot PRIVATE VANDO_TEST_DATA="${VANDO_TEST_DATA}")
  add_dependencies(test_cli_plot lpiii)
  gtest_discover_tests(test_cli_plot NO_PRETTY_VALUES
                       PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen")
endif()
