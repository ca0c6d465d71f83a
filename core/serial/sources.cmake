# Serial ports and devices: the port interface, the tracing port, port numbers, device labels and
# the programs holding a device; each platform's port and device discovery in files of its own.
target_sources(korvane_core PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/port_map.cpp
  ${CMAKE_CURRENT_LIST_DIR}/serial_device_label.cpp
  ${CMAKE_CURRENT_LIST_DIR}/tracing_serial_port.cpp
)
if(WIN32)
  target_sources(korvane_core PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/win32_port_holders.cpp
    ${CMAKE_CURRENT_LIST_DIR}/win32_port_map.cpp
    ${CMAKE_CURRENT_LIST_DIR}/win32_serial_device_label.cpp
    ${CMAKE_CURRENT_LIST_DIR}/win32_serial_device_watcher.cpp
    ${CMAKE_CURRENT_LIST_DIR}/win32_serial_port.cpp
  )
  target_link_libraries(korvane_core PUBLIC setupapi)
else()
  target_sources(korvane_core PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/posix_port_holders.cpp
    ${CMAKE_CURRENT_LIST_DIR}/posix_port_map.cpp
    ${CMAKE_CURRENT_LIST_DIR}/posix_serial_device_label.cpp
    ${CMAKE_CURRENT_LIST_DIR}/posix_serial_device_watcher.cpp
    ${CMAKE_CURRENT_LIST_DIR}/posix_serial_port.cpp
  )
endif()
