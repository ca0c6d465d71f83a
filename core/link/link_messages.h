#pragma once
// Every text the radio link shows the user, exactly as the user sees it.

#include "core/link/link_target.h"
#include "core/serial/serial_port.h"
#include "core/util/message.h"

#include <optional>
#include <string_view>

namespace korvane::link {

inline constexpr std::string_view kReadCaption = "读频";
inline constexpr std::string_view kReadLabel = "正在从手持机中读取数据 ...";
inline constexpr std::string_view kWriteCaption = "写频";
inline constexpr std::string_view kWriteLabel = "正在向手持机中写入数据 ...";

// The radio does not answer, or the port failed. The text names the port as the user chose it
// ("COM1" or a device path); the detail says which device that is and, where it can, how to fix
// access to it.
util::Message communicationFailure(const LinkTarget& target, const std::optional<serial::PortError>& cause = std::nullopt);
// A newer radio whose version this program does not know.
util::Message versionMismatch();
util::Message readError();
util::Message readComplete();
// After a read-out: a settings field that no entry of its list can show.
util::Message dataError();
util::Message writeError();
util::Message writeComplete();
// The image belongs to no model, so there is no model code to send.
util::Message unsupportedModel();

// Yes/No questions before programming an older radio or a radio of another model.
util::Message roundingQuestion();
util::Message modelMismatchQuestion();

} // namespace korvane::link
