# The cable check: which link of the chain from the program to the radio is broken.
target_sources(korvane_core PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/probe_chain.cpp
)
