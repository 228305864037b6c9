# Design-flow statistics of a daily series.
target_sources(vd_calc PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/harmonic_mean.cpp
  ${CMAKE_CURRENT_LIST_DIR}/averaging.cpp
  ${CMAKE_CURRENT_LIST_DIR}/season_windows.cpp
  ${CMAKE_CURRENT_LIST_DIR}/annual_minima.cpp
  ${CMAKE_CURRENT_LIST_DIR}/excursions.cpp
  ${CMAKE_CURRENT_LIST_DIR}/days_below.cpp
  ${CMAKE_CURRENT_LIST_DIR}/biological_search.cpp
  ${CMAKE_CURRENT_LIST_DIR}/search.cpp
  ${CMAKE_CURRENT_LIST_DIR}/percentiles.cpp
)
