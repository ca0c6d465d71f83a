# The radio protocol: read-out, programming, alignment, the read-back check, and their texts.
target_sources(korvane_core PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/adjust_packet.cpp
  ${CMAKE_CURRENT_LIST_DIR}/alignment.cpp
  ${CMAKE_CURRENT_LIST_DIR}/alignment_items.cpp
  ${CMAKE_CURRENT_LIST_DIR}/data_record.cpp
  ${CMAKE_CURRENT_LIST_DIR}/data_stream.cpp
  ${CMAKE_CURRENT_LIST_DIR}/five_khz_rounding.cpp
  ${CMAKE_CURRENT_LIST_DIR}/handshake_reply.cpp
  ${CMAKE_CURRENT_LIST_DIR}/heard_reply.cpp
  ${CMAKE_CURRENT_LIST_DIR}/link_messages.cpp
  ${CMAKE_CURRENT_LIST_DIR}/link_steps.cpp
  ${CMAKE_CURRENT_LIST_DIR}/link_target.cpp
  ${CMAKE_CURRENT_LIST_DIR}/programming.cpp
  ${CMAKE_CURRENT_LIST_DIR}/readout.cpp
  ${CMAKE_CURRENT_LIST_DIR}/test_channel_text.cpp
  ${CMAKE_CURRENT_LIST_DIR}/verify.cpp
  ${CMAKE_CURRENT_LIST_DIR}/verify_readback.cpp
)
