# The status monitor's pipe framing under libFuzzer (clang only). Included from
# fuzz/CMakeLists.txt; uses VANDO_FUZZ_FLAGS when it is set, else the usual set.
if(TARGET Qt6::Core AND CMAKE_CXX_COMPILER_ID MATCHES "Clang")
  if(NOT DEFINED VANDO_FUZZ_FLAGS)
    set(VANDO_FUZZ_FLAGS -fsanitize=fuzzer,address,undefined)
  endif()
  set(_status_fuzz_flags ${VANDO_FUZZ_FLAGS})
  separate_arguments(_status_fuzz_flags)
  # libFuzzer brings its own main; the framing code is compiled again here, with the
  # sanitizers and coverage, rather than linked from status_core.
  add_executable(status_pipe_fuzz
    ${CMAKE_CURRENT_LIST_DIR}/status_pipe_fuzz.cpp
    ${CMAKE_CURRENT_LIST_DIR}/../status/pipe_protocol.cpp
    ${CMAKE_CURRENT_LIST_DIR}/../status/platform.cpp)
  target_include_directories(status_pipe_fuzz PRIVATE ${CMAKE_CURRENT_LIST_DIR}/../status)
  target_link_libraries(status_pipe_fuzz PRIVATE Qt6::Core)
  target_compile_options(status_pipe_fuzz PRIVATE ${_status_fuzz_flags})
  target_link_options(status_pipe_fuzz PRIVATE ${_status_fuzz_flags})
  unset(_status_fuzz_flags)
endif()
