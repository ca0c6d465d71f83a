target_sources(korvane_core PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/defaults.cpp
  ${CMAKE_CURRENT_LIST_DIR}/frequency_form.cpp
  ${CMAKE_CURRENT_LIST_DIR}/models.cpp
)
