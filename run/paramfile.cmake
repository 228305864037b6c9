# The parameter-file format, shared by the window and the command-line program.
target_sources(vd_run PRIVATE ${CMAKE_CURRENT_LIST_DIR}/vd_paramfile.cpp)
