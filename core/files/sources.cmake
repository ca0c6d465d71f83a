# Data files: item codec, reader and writer.
target_sources(korvane_core PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/backups.cpp
  ${CMAKE_CURRENT_LIST_DIR}/channel_csv.cpp
  ${CMAKE_CURRENT_LIST_DIR}/channel_csv_file.cpp
  ${CMAKE_CURRENT_LIST_DIR}/channel_csv_messages.cpp
  ${CMAKE_CURRENT_LIST_DIR}/channel_csv_rows.cpp
  ${CMAKE_CURRENT_LIST_DIR}/channel_csv_tones.cpp
  ${CMAKE_CURRENT_LIST_DIR}/data_file_reader.cpp
  ${CMAKE_CURRENT_LIST_DIR}/data_file_writer.cpp
  ${CMAKE_CURRENT_LIST_DIR}/data_folder.cpp
  ${CMAKE_CURRENT_LIST_DIR}/file_kind.cpp
  ${CMAKE_CURRENT_LIST_DIR}/file_messages.cpp
  ${CMAKE_CURRENT_LIST_DIR}/item_reader.cpp
  ${CMAKE_CURRENT_LIST_DIR}/item_writer.cpp
  ${CMAKE_CURRENT_LIST_DIR}/settings_file.cpp
  ${CMAKE_CURRENT_LIST_DIR}/tone_list.cpp
)
# Each platform's files: its atomic save and its folder for the user's data.
if(WIN32)
  target_sources(korvane_core PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/win32_data_folder.cpp
    ${CMAKE_CURRENT_LIST_DIR}/win32_file_bytes.cpp
  )
else()
  target_sources(korvane_core PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/posix_data_folder.cpp
    ${CMAKE_CURRENT_LIST_DIR}/posix_file_bytes.cpp
  )
endif()
