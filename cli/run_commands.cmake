# run
target_sources(vando3_cli_lib PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/cmd_run.cpp
  ${CMAKE_CURRENT_LIST_DIR}/run_options.cpp
)
target_link_libraries(vando3_cli_lib PUBLIC vd_run)
