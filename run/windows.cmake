# The Qt windows of the calculation run: results, excursion analysis, and the models and
# painting they show the engine's cell texts with.
add_library(vd_run_windows STATIC
  ${CMAKE_CURRENT_LIST_DIR}/grid_text_model.cpp
  ${CMAKE_CURRENT_LIST_DIR}/results_delegate.cpp
  ${CMAKE_CURRENT_LIST_DIR}/results_grid.cpp
  ${CMAKE_CURRENT_LIST_DIR}/vd_results.cpp
  ${CMAKE_CURRENT_LIST_DIR}/excursion_delegate.cpp
  ${CMAKE_CURRENT_LIST_DIR}/vd_excursion.cpp
)
target_include_directories(vd_run_windows PUBLIC ${CMAKE_CURRENT_LIST_DIR})
target_link_libraries(vd_run_windows PUBLIC vd_run Qt6::Widgets)
