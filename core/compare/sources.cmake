target_sources(korvane_core PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/image_compare.cpp
)
