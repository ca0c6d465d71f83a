// The command line's progress line: on a terminal it counts up in place, each percentage once;
// elsewhere it says nothing. (What the commands print is in tests/e2e.)

#include "cli/cli_link_ui.h"
#include "core/link/link_ui.h"

#include <gtest/gtest.h>

using namespace korvane;
using namespace korvane::cli;

TEST(CliLinkUi, ProgressOnlyWhenWanted)
{
    for (const bool wanted : { false, true }) {
        ::testing::internal::CaptureStdout();
        ::testing::internal::CaptureStderr();
        {
            CliLinkUi ui(false, wanted);
            ui.progressOpen("写频", "正在向手持机中写入数据 ...");
            ui.progressValue(300);
            ui.progressValue(300);
            ui.progressValue(link::kProgressMaximum);
            ui.progressClose();
        }
        EXPECT_EQ(::testing::internal::GetCapturedStdout(), "");
        EXPECT_EQ(::testing::internal::GetCapturedStderr(),
            wanted ? "\r写频: 正在向手持机中写入数据 ... 0%\r写频: 正在向手持机中写入数据 ... 50%\r写频: "
                     "正在向手持机中写入数据 ... 100%\n"
                   : "");
    }
}
