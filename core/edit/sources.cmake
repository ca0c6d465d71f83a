target_sources(korvane_core PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/bulk_edit.cpp
  ${CMAKE_CURRENT_LIST_DIR}/channel_clipboard.cpp
  ${CMAKE_CURRENT_LIST_DIR}/channel_order.cpp
  ${CMAKE_CURRENT_LIST_DIR}/edit_history.cpp
  ${CMAKE_CURRENT_LIST_DIR}/step_name.cpp
)
