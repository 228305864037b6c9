# The results and excursion windows and the run from the main window, offscreen.
add_executable(test_results_windows
  ${CMAKE_CURRENT_LIST_DIR}/results_tests_main.cpp
  ${CMAKE_CURRENT_LIST_DIR}/test_results_windows.cpp
  ${CMAKE_CURRENT_LIST_DIR}/test_run_from_main.cpp
  ${CMAKE_CURRENT_LIST_DIR}/test_plot_window.cpp
)
target_compile_definitions(test_results_windows PRIVATE
  VANDO_EXAMPLES_DIR="${PROJECT_SOURCE_DIR}/examples")
# The CSV of the window is compared with the batch command's.
target_link_libraries(test_results_windows PRIVATE vd_ui vando3_cli_lib Qt6::Test Qt6::Svg)
# The log-Pearson library is loaded from the folder of the test program.
add_dependencies(test_results_windows lpiii)
add_test(NAME results_windows COMMAND test_results_windows)
set_tests_properties(results_windows PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen")

# Not a test: shows the windows on real data for a look under a virtual display.
add_executable(results_preview EXCLUDE_FROM_ALL ${CMAKE_CURRENT_LIST_DIR}/results_preview.cpp)
target_link_libraries(results_preview PRIVATE vd_ui)
add_dependencies(results_preview lpiii)

# Not a test: the main window's fixes and the results hints, grabbed under a virtual display.
add_executable(window_preview EXCLUDE_FROM_ALL ${CMAKE_CURRENT_LIST_DIR}/window_preview.cpp)
target_link_libraries(window_preview PRIVATE vd_ui)
add_dependencies(window_preview lpiii)

# Not a test: the plot window's tabs in turn, for a look under a virtual display.
add_executable(plot_preview EXCLUDE_FROM_ALL ${CMAKE_CURRENT_LIST_DIR}/plot_preview.cpp)
target_link_libraries(plot_preview PRIVATE vd_ui)
add_dependencies(plot_preview lpiii)
