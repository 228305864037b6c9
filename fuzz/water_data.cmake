# libFuzzer targets of the Water Data API readers (clang, -fsanitize=fuzzer). Included by the
# fuzzing build; each target compiles the readers it needs from source with the sanitizers.
find_package(nlohmann_json 3 REQUIRED)
set(VD_WATER_DATA_READER_SOURCES
  ${PROJECT_SOURCE_DIR}/calc/water_data_values.cpp
  ${PROJECT_SOURCE_DIR}/calc/water_data_csv.cpp
  ${PROJECT_SOURCE_DIR}/calc/water_data_geojson.cpp
  ${PROJECT_SOURCE_DIR}/calc/errors.cpp
  ${PROJECT_SOURCE_DIR}/calc/number_text.cpp
  ${PROJECT_SOURCE_DIR}/calc/calendar.cpp)
foreach(form csv geojson)
  add_executable(water_data_${form}_fuzz
    ${CMAKE_CURRENT_LIST_DIR}/water_data_${form}_fuzz.cpp ${VD_WATER_DATA_READER_SOURCES})
  target_include_directories(water_data_${form}_fuzz PRIVATE ${PROJECT_SOURCE_DIR}/calc)
  target_compile_options(water_data_${form}_fuzz PRIVATE -fsanitize=fuzzer,address,undefined)
  target_link_options(water_data_${form}_fuzz PRIVATE -fsanitize=fuzzer,address,undefined)
  target_link_libraries(water_data_${form}_fuzz PRIVATE nlohmann_json::nlohmann_json)
endforeach()
