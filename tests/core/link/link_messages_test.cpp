#include "core/link/link_messages.h"

#include <gtest/gtest.h>

using namespace korvane;
using namespace korvane::link;
using util::Message;
using util::MessageIcon;

TEST(LinkMessages, FixedTexts)
{
    struct Row {
        Message got;
        Message want;
    };
    const Row rows[] = {
        { versionMismatch(), { "机型版本错误！本软件不支持该版本机型！", "机型错误", MessageIcon::Information, {} } },
        { readError(), { "读频错误，请重新读频！", "读频错误", MessageIcon::Exclamation, {} } },
        { readComplete(), { "读频完成，按“确定”继续 ...", "读频完成", MessageIcon::None, {} } },
        { writeError(), { "写频错误，请重新写频！", "写频错误", MessageIcon::Exclamation, {} } },
        { writeComplete(), { "写频完成，按“确定”继续 ...", "写频完成", MessageIcon::None, {} } },
        { unsupportedModel(), { "机型错误！本软件不支持该机型！", "机型错误", MessageIcon::Exclamation, {} } },
        { roundingQuestion(),
            { "步进值为2.5kHz的频将转换为步进值为5.0kHz的频率，是否继续？", "旧对讲机", MessageIcon::Exclamation,
                {} } },
        { modelMismatchQuestion(),
            { "要写入的机型与当前连接的机型不符，是否强制写入？", "机型改变", MessageIcon::Exclamation, {} } },
    };
    for (const Row& row : rows)
        EXPECT_EQ(row.got, row.want) << row.want.text;
    EXPECT_EQ(kReadCaption, "读频");
    EXPECT_EQ(kReadLabel, "正在从手持机中读取数据 ...");
    EXPECT_EQ(kWriteCaption, "写频");
    EXPECT_EQ(kWriteLabel, "正在向手持机中写入数据 ...");
}

TEST(LinkMessages, CommunicationFailureNamesThePortAndTheDevice)
{
    const LinkTarget com1 { "COM1", "/dev/ttyUSB0" };
    const LinkTarget com3 { "COM3", std::nullopt };
    const LinkTarget pts = linkTargetForDevice("/dev/pts/7");
    auto cause = [](PortErrorKind kind, std::string group = {}) {
        return PortError { kind, "/dev/ttyUSB0", "Some system words", std::move(group) };
    };
    struct Row {
        LinkTarget target;
        std::optional<PortError> cause;
        std::string text;
        std::string detail;
    };
    const std::string tail = " 端口没有响应，请确保连接正确或机器电源是否打开！";
    const Row rows[] = {
        { com1, std::nullopt, "COM1" + tail, "COM1 = /dev/ttyUSB0" },
        { com3, std::nullopt, "COM3" + tail, "COM3：没有对应的串口设备（可用环境变量 KORVANE_COM3 指定设备）。" },
        { pts, std::nullopt, "/dev/pts/7" + tail, "/dev/pts/7" },
        { com1, cause(PortErrorKind::PermissionDenied, "uucp"), "COM1" + tail,
            "COM1 = /dev/ttyUSB0：没有权限打开该设备。请把用户加入拥有该设备的用户组（uucp）：sudo usermod -aG uucp "
            "$USER，然后重新登录。" },
        { com1, cause(PortErrorKind::PermissionDenied), "COM1" + tail,
            "COM1 = /dev/ttyUSB0：没有权限打开该设备。请把用户加入拥有该设备的用户组（通常是 dialout）：sudo usermod "
            "-aG "
            "dialout $USER，然后重新登录。" },
        { com1, cause(PortErrorKind::PermissionDenied, "root"), "COM1" + tail,
            "COM1 = /dev/ttyUSB0：没有权限打开该设备。请把用户加入拥有该设备的用户组（通常是 dialout）：sudo usermod "
            "-aG "
            "dialout $USER，然后重新登录。" },
        { com1, cause(PortErrorKind::Busy), "COM1" + tail, "COM1 = /dev/ttyUSB0：设备正被其他程序占用。" },
        { com1, cause(PortErrorKind::NoSuchDevice), "COM1" + tail, "COM1 = /dev/ttyUSB0：设备不存在。" },
        { com1, cause(PortErrorKind::LineDropped), "COM1" + tail, "COM1 = /dev/ttyUSB0：连接已断开。" },
        { pts, cause(PortErrorKind::Other), "/dev/pts/7" + tail, "/dev/pts/7：Some system words。" },
    };
    for (const Row& row : rows) {
        const Message m = communicationFailure(row.target, row.cause);
        EXPECT_EQ(m.text, row.text);
        EXPECT_EQ(m.title, "通讯错误");
        EXPECT_EQ(m.icon, MessageIcon::Exclamation);
        EXPECT_EQ(m.detail, row.detail);
    }
}
