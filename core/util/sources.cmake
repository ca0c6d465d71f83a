# Small helpers every part uses: results and messages, decimals, hexadecimal text, text lines, time and
# the clock.
target_sources(korvane_core PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/clock.cpp
  ${CMAKE_CURRENT_LIST_DIR}/decimal.cpp
  ${CMAKE_CURRENT_LIST_DIR}/hex.cpp
  ${CMAKE_CURRENT_LIST_DIR}/steady_clock.cpp
  ${CMAKE_CURRENT_LIST_DIR}/text_lines.cpp
  ${CMAKE_CURRENT_LIST_DIR}/utc_time.cpp
)
if(WIN32)
  target_sources(korvane_core PRIVATE ${CMAKE_CURRENT_LIST_DIR}/win32_text.cpp)
endif()
