target_sources(vando3_cli_lib PRIVATE ${CMAKE_CURRENT_LIST_DIR}/cmd_run_pending.cpp)
