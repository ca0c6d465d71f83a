target_sources(korvane_core PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/decimal.cpp
  ${CMAKE_CURRENT_LIST_DIR}/utc_time.cpp
)
