#include "core/serial/port_holders.h"

namespace korvane::serial {

// Windows does not say which program holds a port; opening it says that one does (in use), which
// the cable check reports one step earlier.
std::vector<std::string> deviceHolders(const std::string&) { return {}; }

} // namespace korvane::serial
