target_sources(korvane_core PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/channel_view.cpp
  ${CMAKE_CURRENT_LIST_DIR}/defaults.cpp
  ${CMAKE_CURRENT_LIST_DIR}/frequency_codec.cpp
  ${CMAKE_CURRENT_LIST_DIR}/frequency_entry.cpp
  ${CMAKE_CURRENT_LIST_DIR}/frequency_form.cpp
  ${CMAKE_CURRENT_LIST_DIR}/models.cpp
  ${CMAKE_CURRENT_LIST_DIR}/settings_fields.cpp
  ${CMAKE_CURRENT_LIST_DIR}/signalling_cell.cpp
  ${CMAKE_CURRENT_LIST_DIR}/signalling_codec.cpp
  ${CMAKE_CURRENT_LIST_DIR}/signalling_entry.cpp
)
