# Tests of the design-flow statistics; the search tests load the log-Pearson library
# built beside them.
target_sources(test_calc PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/test_averaging.cpp
  ${CMAKE_CURRENT_LIST_DIR}/test_annual_minima.cpp
  ${CMAKE_CURRENT_LIST_DIR}/test_excursions.cpp
  ${CMAKE_CURRENT_LIST_DIR}/test_percentiles.cpp
  ${CMAKE_CURRENT_LIST_DIR}/test_search.cpp
  ${CMAKE_CURRENT_LIST_DIR}/test_design_flows_examples.cpp
)
target_compile_definitions(test_calc PRIVATE VANDO_EXAMPLES="${PROJECT_SOURCE_DIR}/examples")
if(TARGET lpiii)
  add_dependencies(test_calc lpiii)
endif()
