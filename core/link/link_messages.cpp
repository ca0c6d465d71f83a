#include "core/link/link_messages.h"

namespace korvane::link {

namespace {

using util::Message;
using util::MessageIcon;

std::string portDetail(const LinkTarget& target, const std::optional<PortError>& cause)
{
    if (!target.device)
        return target.name + ": no serial device is mapped to this port number (KORVANE_" + target.name
            + " can name one).";
    std::string detail = target.isPortNumber() ? target.name + " = " + *target.device : *target.device;
    if (!cause) return detail;
    switch (cause->kind) {
    case PortErrorKind::PermissionDenied: {
        // Serial devices usually belong to a group such as dialout; root-owned ones give no hint.
        const bool usefulGroup = !cause->ownerGroup.empty() && cause->ownerGroup != "root";
        detail += ": permission denied. Join the group that owns the device ";
        detail += usefulGroup ? "(" + cause->ownerGroup + ")" : "(such as dialout)";
        detail += ", then log in again.";
        break;
    }
    case PortErrorKind::NoSuchDevice:
        detail += ": no such device.";
        break;
    case PortErrorKind::Busy:
        detail += ": in use by another program.";
        break;
    case PortErrorKind::LineDropped:
        detail += ": the line dropped.";
        break;
    case PortErrorKind::NotOpen:
    case PortErrorKind::Other:
        detail += ": " + (cause->reason.empty() ? std::string("port failure") : cause->reason) + ".";
        break;
    }
    return detail;
}

} // namespace

Message communicationFailure(const LinkTarget& target, const std::optional<PortError>& cause)
{
    return Message { target.name + " 端口没有响应，请确保连接正确或机器电源是否打开！", "通讯错误",
        MessageIcon::Exclamation, portDetail(target, cause) };
}

Message versionMismatch()
{
    return Message { "机型版本错误！本软件不支持该版本机型！", "机型错误", MessageIcon::Information, {} };
}

Message readError() { return Message { "读频错误，请重新读频！", "读频错误", MessageIcon::Exclamation, {} }; }

Message readComplete() { return Message { "读频完成，按“确定”继续 ...", "读频完成", MessageIcon::None, {} }; }

Message dataError() { return Message { "机器内部出现数据错误！", "数据错误", MessageIcon::Exclamation, {} }; }

Message writeError() { return Message { "写频错误，请重新写频！", "写频错误", MessageIcon::Exclamation, {} }; }

Message writeComplete() { return Message { "写频完成，按“确定”继续 ...", "写频完成", MessageIcon::None, {} }; }

Message unsupportedModel()
{
    return Message { "机型错误！本软件不支持该机型！", "机型错误", MessageIcon::Exclamation, {} };
}

Message roundingQuestion()
{
    return Message { "步进值为2.5kHz的频将转换为步进值为5.0kHz的频率，是否继续？", "旧对讲机", MessageIcon::Exclamation,
        {} };
}

Message modelMismatchQuestion()
{
    return Message { "要写入的机型与当前连接的机型不符，是否强制写入？", "机型改变", MessageIcon::Exclamation, {} };
}

} // namespace korvane::link
