# `vando3-cli run` and `excursions` in-process; they load the log-Pearson library from the
# test program's folder, so it is built first.
add_executable(test_cli_run ${CMAKE_CURRENT_LIST_DIR}/test_run_command.cpp)
target_link_libraries(test_cli_run PRIVATE vando3_cli_lib GTest::gtest_main)
target_compile_definitions(test_cli_run PRIVATE VANDO_TEST_DATA="${VANDO_TEST_DATA}")
foreach(lib lpiii usgs-awstat-a193)
  if(TARGET ${lib})
    add_dependencies(test_cli_run ${lib})
  endif()
endforeach()
include(GoogleTest)
gtest_discover_tests(test_cli_run NO_PRETTY_VALUES)

# API CSV and GeoJSON restatements of the reference inputs against the classic reports.
add_executable(test_cli_water_data ${CMAKE_CURRENT_LIST_DIR}/test_water_data_reports.cpp)
target_link_libraries(test_cli_water_data PRIVATE vando3_cli_lib GTest::gtest_main)
target_compile_definitions(test_cli_water_data PRIVATE VANDO_TEST_DATA="${VANDO_TEST_DATA}")
add_dependencies(test_cli_water_data lpiii)
gtest_discover_tests(test_cli_water_data NO_PRETTY_VALUES)

if(VANDO_BUILD_FETCH)
  # vando3-cli fetch against a local stand-in for the Water Data API.
  add_executable(test_cli_fetch ${CMAKE_CURRENT_LIST_DIR}/test_fetch_command.cpp)
  target_link_libraries(test_cli_fetch PRIVATE vando3_cli_lib GTest::gtest_main)
  # The program itself runs too, for what only a real standard output shows.
  target_compile_definitions(test_cli_fetch PRIVATE VANDO_TEST_DATA="${VANDO_TEST_DATA}"
                                                    VANDO3_CLI="$<TARGET_FILE:vando3-cli>")
  add_dependencies(test_cli_fetch vando3-cli lpiii)
  gtest_discover_tests(test_cli_fetch NO_PRETTY_VALUES)
endif()
