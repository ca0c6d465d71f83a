# Serial ports and devices: the port interface, the POSIX port, the tracing port, port numbers,
# device labels and the programs holding a device.
target_sources(korvane_core PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/posix_port_holders.cpp
  ${CMAKE_CURRENT_LIST_DIR}/posix_port_map.cpp
  ${CMAKE_CURRENT_LIST_DIR}/posix_serial_device_label.cpp
  ${CMAKE_CURRENT_LIST_DIR}/posix_serial_device_watcher.cpp
  ${CMAKE_CURRENT_LIST_DIR}/posix_serial_port.cpp
  ${CMAKE_CURRENT_LIST_DIR}/tracing_serial_port.cpp
)
