# Parameter-file format tests, in their own executable beside the engine's tests.
add_executable(test_paramfile ${CMAKE_CURRENT_LIST_DIR}/test_paramfile.cpp)
target_link_libraries(test_paramfile PRIVATE vd_run GTest::gtest_main)
include(GoogleTest)
gtest_discover_tests(test_paramfile NO_PRETTY_VALUES)
