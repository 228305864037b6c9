# run
target_sources(vando3_cli_lib PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/cmd_run.cpp
  ${CMAKE_CURRENT_LIST_DIR}/run_options.cpp
  ${CMAKE_CURRENT_LIST_DIR}/batch_files.cpp
  ${CMAKE_CURRENT_LIST_DIR}/batch_progress.cpp
  ${CMAKE_CURRENT_LIST_DIR}/batch_run.cpp
  ${CMAKE_CURRENT_LIST_DIR}/cmd_batch.cpp
)
target_link_libraries(vando3_cli_lib PUBLIC vd_run)
# batch: its workers are threads
find_package(Threads REQUIRED)
target_link_libraries(vando3_cli_lib PUBLIC Threads::Threads)
