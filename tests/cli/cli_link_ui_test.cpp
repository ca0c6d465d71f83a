// How the command line tells the user what a link operation says and asks: which stream each
// message goes to, how questions are answered, and the exit status of each way an operation ends.

#include "cli/cli_link_ui.h"
#include "cli/exit_codes.h"
#include "core/link/link_messages.h"

#include <gtest/gtest.h>

using namespace korvane;
using namespace korvane::cli;

namespace {

struct Printed {
    std::string out;
    std::string err;
    int status = -1;
};

template <class Steps> Printed run(bool answerYes, link::LinkEnd end, Steps steps)
{
    ::testing::internal::CaptureStdout();
    ::testing::internal::CaptureStderr();
    CliLinkUi ui(answerYes, false);
    steps(ui);
    Printed printed;
    printed.status = ui.finish(end);
    printed.out = ::testing::internal::GetCapturedStdout();
    printed.err = ::testing::internal::GetCapturedStderr();
    return printed;
}

const link::LinkTarget kCom1 { "COM1", "/dev/ttyUSB0" };
const std::string kFailureLines
    = "COM1 端口没有响应，请确保连接正确或机器电源是否打开！\nCOM1 = /dev/ttyUSB0：连接已断开。\n";

TEST(CliLinkUi, MessagesByHowTheOperationEnds)
{
    const link::PortError dropped { link::PortErrorKind::LineDropped, "/dev/ttyUSB0", "", "" };
    struct Row {
        const char* name;
        std::vector<util::Message> messages;
        link::LinkEnd end;
        std::string out, err;
        int status;
    };
    const std::vector<Row> rows {
        { "read complete", { link::readComplete() }, link::LinkEnd::Success, "读频完成，按“确定”继续 ...\n", "",
            kExitDone },
        { "port failure with its detail line", { link::communicationFailure(kCom1, dropped) }, link::LinkEnd::Failed,
            "", kFailureLines, kExitFailed },
        // A notice the read-out goes on after stays a notice; the message it ends with decides.
        { "unknown version, then read", { link::versionMismatch(), link::readComplete() }, link::LinkEnd::Success,
            "机型版本错误！本软件不支持该版本机型！\n读频完成，按“确定”继续 ...\n", "", kExitDone },
        { "unknown version, then read error", { link::versionMismatch(), link::readError() }, link::LinkEnd::Failed,
            "机型版本错误！本软件不支持该版本机型！\n", "读频错误，请重新读频！\n", kExitFailed },
        // The same notice ends a write: then it is the error.
        { "unknown version ends a write", { link::versionMismatch() }, link::LinkEnd::Failed, "",
            "机型版本错误！本软件不支持该版本机型！\n", kExitFailed },
        { "write error", { link::writeError() }, link::LinkEnd::Failed, "", "写频错误，请重新写频！\n", kExitFailed },
        { "nothing said, port taken", {}, link::LinkEnd::Refused, "", "", kExitFailed },
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const Printed printed = run(false, row.end, [&](CliLinkUi& ui) {
            for (const util::Message& m : row.messages)
                ui.showMessage(m);
        });
        EXPECT_EQ(printed.out, row.out);
        EXPECT_EQ(printed.err, row.err);
        EXPECT_EQ(printed.status, row.status);
    }
}

TEST(CliLinkUi, QuestionsWithoutYesArePrintedAndAnsweredNo)
{
    bool answer = true;
    const Printed printed
        = run(false, link::LinkEnd::Declined, [&](CliLinkUi& ui) { answer = ui.askYesNo(link::roundingQuestion()); });
    EXPECT_FALSE(answer);
    EXPECT_EQ(printed.out, "");
    EXPECT_EQ(printed.err, "步进值为2.5kHz的频将转换为步进值为5.0kHz的频率，是否继续？\n");
    EXPECT_EQ(printed.status, kExitQuestion);
}

TEST(CliLinkUi, QuestionsWithYesAreAnsweredYesQuietly)
{
    std::vector<bool> answers;
    const Printed printed = run(true, link::LinkEnd::Success, [&](CliLinkUi& ui) {
        answers.push_back(ui.askYesNo(link::roundingQuestion()));
        answers.push_back(ui.askYesNo(link::modelMismatchQuestion()));
        ui.showMessage(link::writeComplete());
    });
    EXPECT_EQ(answers, (std::vector<bool> { true, true }));
    EXPECT_EQ(printed.out, "写频完成，按“确定”继续 ...\n");
    EXPECT_EQ(printed.err, "");
    EXPECT_EQ(printed.status, kExitDone);
}

TEST(CliLinkUi, ProgressIsSilentUnlessWanted)
{
    const Printed quiet = run(false, link::LinkEnd::Success, [](CliLinkUi& ui) {
        ui.progressOpen("读频", "正在从手持机中读取数据 ...");
        for (int v = 0; v <= link::kProgressMaximum; v += 11)
            ui.progressValue(v);
        ui.progressClose();
    });
    EXPECT_EQ(quiet.out, "");
    EXPECT_EQ(quiet.err, "");

    ::testing::internal::CaptureStderr();
    {
        CliLinkUi ui(false, true);
        ui.progressOpen("写频", "正在向手持机中写入数据 ...");
        ui.progressValue(300);
        ui.progressValue(300);
        ui.progressValue(600);
        ui.progressClose();
    }
    EXPECT_EQ(::testing::internal::GetCapturedStderr(),
        "\r写频: 正在向手持机中写入数据 ... 0%\r写频: 正在向手持机中写入数据 ... 50%\r写频: 正在向手持机中写入数据 ... "
        "100%\n");
}

} // namespace
