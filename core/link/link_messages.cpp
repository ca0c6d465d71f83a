#include "core/link/link_messages.h"

namespace korvane::link {

namespace {

using util::Message;
using util::MessageIcon;

std::string portDetail(const LinkTarget& target, const std::optional<serial::PortError>& cause)
{
    if (!target.device)
        return target.name + "：没有对应的串口设备（可用环境变量 KORVANE_" + target.name + " 指定设备）。";
    std::string detail = target.isPortNumber() ? target.name + " = " + *target.device : *target.device;
    if (!cause) return detail;
    switch (cause->kind) {
    case serial::PortErrorKind::PermissionDenied: {
        // Serial devices usually belong to a group such as dialout; root-owned ones give no hint.
        const bool known = !cause->ownerGroup.empty() && cause->ownerGroup != "root";
        const std::string group = known ? cause->ownerGroup : std::string("dialout");
        detail += "：没有权限打开该设备。请把用户加入拥有该设备的用户组（" + (known ? group : "通常是 " + group)
            + "）：sudo usermod -aG " + group + " $USER，然后重新登录。";
        break;
    }
    case serial::PortErrorKind::NoSuchDevice:
        detail += "：设备不存在。";
        break;
    case serial::PortErrorKind::Busy:
        detail += "：设备正被其他程序占用。";
        break;
    case serial::PortErrorKind::LineDropped:
        detail += "：连接已断开。";
        break;
    case serial::PortErrorKind::NotOpen:
    case serial::PortErrorKind::Other:
        detail += "：" + (cause->reason.empty() ? std::string("端口故障") : cause->reason) + "。";
        break;
    }
    return detail;
}

} // namespace

Message communicationFailure(const LinkTarget& target, const std::optional<serial::PortError>& cause)
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
