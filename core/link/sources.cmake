# The serial link and the radio protocol.
target_sources(korvane_core PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/adjust_packet.cpp
  ${CMAKE_CURRENT_LIST_DIR}/alignment.cpp
  ${CMAKE_CURRENT_LIST_DIR}/alignment_items.cpp
  ${CMAKE_CURRENT_LIST_DIR}/clock.cpp
  ${CMAKE_CURRENT_LIST_DIR}/data_record.cpp
  ${CMAKE_CURRENT_LIST_DIR}/data_stream.cpp
  ${CMAKE_CURRENT_LIST_DIR}/five_khz_rounding.cpp
  ${CMAKE_CURRENT_LIST_DIR}/fleet_round.cpp
  ${CMAKE_CURRENT_LIST_DIR}/handshake_reply.cpp
  ${CMAKE_CURRENT_LIST_DIR}/heard_reply.cpp
  ${CMAKE_CURRENT_LIST_DIR}/link_messages.cpp
  ${CMAKE_CURRENT_LIST_DIR}/link_steps.cpp
  ${CMAKE_CURRENT_LIST_DIR}/link_target.cpp
  ${CMAKE_CURRENT_LIST_DIR}/port_map.cpp
  ${CMAKE_CURRENT_LIST_DIR}/probe_chain.cpp
  ${CMAKE_CURRENT_LIST_DIR}/posix_serial_port.cpp
  ${CMAKE_CURRENT_LIST_DIR}/programming.cpp
  ${CMAKE_CURRENT_LIST_DIR}/readout.cpp
  ${CMAKE_CURRENT_LIST_DIR}/serial_device_label.cpp
  ${CMAKE_CURRENT_LIST_DIR}/serial_device_watcher.cpp
  ${CMAKE_CURRENT_LIST_DIR}/steady_clock.cpp
  ${CMAKE_CURRENT_LIST_DIR}/test_channel_text.cpp
  ${CMAKE_CURRENT_LIST_DIR}/tracing_serial_port.cpp
  ${CMAKE_CURRENT_LIST_DIR}/verify.cpp
  ${CMAKE_CURRENT_LIST_DIR}/verify_readback.cpp
)
