# Comparing images: field by field for the window and the command line, byte by byte for the
# check after programming.
target_sources(korvane_core PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/byte_difference.cpp
  ${CMAKE_CURRENT_LIST_DIR}/byte_fields.cpp
  ${CMAKE_CURRENT_LIST_DIR}/image_compare.cpp
)
