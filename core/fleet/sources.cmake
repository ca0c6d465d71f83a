# Fleet rounds: every radio programmed on a thread of its own.
target_sources(korvane_core PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/fleet_log.cpp
  ${CMAKE_CURRENT_LIST_DIR}/fleet_round.cpp
)
