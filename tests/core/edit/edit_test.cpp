// The Edit menu's commands on the channel table (edit/commands.txt), and the undo history's rules.

#include "support/golden_match.h"

#include "core/edit/bulk_edit.h"
#include "core/edit/channel_clipboard.h"
#include "core/edit/channel_order.h"
#include "core/edit/edit_history.h"
#include "core/files/data_file.h"
#include "core/model/channel_view.h"
#include "core/model/defaults.h"
#include "core/model/record_layout.h"

#include <gtest/gtest.h>

using namespace korvane;
using namespace korvane::edit;

namespace {

std::string shown(const model::ChannelTable& table)
{
    std::string text;
    for (std::size_t c = 0; c < table.size(); ++c) {
        text += (c < 9 ? "  " : " ") + std::to_string(c + 1) + (model::isChannelOpen(table[c]) ? " " : " closed ");
        for (const std::string& cell : model::channelCellTexts(table[c]))
            text += " | " + cell;
        text += "\n";
    }
    return text;
}

std::string outcome(const util::Result<model::ChannelTable>& result)
{
    return result ? shown(*result) : result.error().title + ": " + result.error().text + "\n";
}

TEST(Edit, CommandsTranscript)
{
    const auto opened = files::openDataFile(test::dataPath("csv/varied_model0.rdw"), model::defaultImage(0));
    ASSERT_TRUE(opened);
    const model::RadioImage image = opened->image;
    const model::Record fresh = model::defaultImage(0).channels[0];
    std::string out = "== the channels\n" + shown(image.channels);
    const auto step = [&](const std::string& name, const std::string& result) { out += "== " + name + "\n" + result; };

    const CopiedChannels copied = copyChannels(image, { 2, 1, 4 });
    step("copy channels 2, 3 and 5 (5 closed): text", copied.text);
    step("copy: private form", copied.records);
    const auto records = parseCopiedRecords(copied.records);
    ASSERT_TRUE(records);
    step("paste the private form at 11", outcome(pasteRecords(image, 10, *records)));
    step("paste the private form at 15", outcome(pasteRecords(image, 14, *records)));
    EXPECT_FALSE(parseCopiedRecords("korvane-channels 1\n00112233\n"));
    EXPECT_FALSE(parseCopiedRecords(copied.text));
    step("paste the copied text at 1", outcome(pasteText(image, 0, copied.text)));
    const std::string typed = "7\t\t146.025000\n\n9\t\t147.000000\t+\t0.600000\tTone\t100.0\n1\t\t144.500000\r\n";
    step("paste three rows typed in a spreadsheet at 4", outcome(pasteText(image, 3, typed)));
    step("a row off the grid", outcome(pasteText(image, 0, "1\t\t146.001000\n")));
    step("comma-separated with a header", outcome(pasteText(image, 12, "Frequency,Location\n150.0,1\n")));
    step("two rows at 16", outcome(pasteText(image, 15, "12\t\t146.025000\n13\t\t147.000000\n")));
    step("a header without Location", outcome(pasteText(image, 13, "Frequency\tMode\n146.025000\tNFM\n")));

    model::ChannelTable moved = image.channels;
    const auto up = moveChannels(moved, { 2, 1 }, -1);
    step("move channels 2 and 3 up", shown(moved));
    EXPECT_EQ(up, (std::vector<int> { 0, 1 }));
    EXPECT_FALSE(moveChannels(moved, { 0, 4 }, -1));
    EXPECT_EQ(moveChannels(moved, { 13, 14 }, 1), (std::vector<int> { 14, 15 }));
    EXPECT_FALSE(moveChannels(moved, { 15 }, 1));
    step("insert at 2 with channel 16 open", outcome(insertChannels(image.channels, 1, 1, fresh)));
    const model::ChannelTable deleted = deleteChannels(image.channels, { 1, 3 }, fresh);
    step("delete 2 and 4", shown(deleted));
    step("then insert two at 3", outcome(insertChannels(deleted, 2, 2, fresh)));
    step("or three, with channel 14 open", outcome(insertChannels(deleted, 2, 3, fresh)));
    step("sort by receive frequency", shown(sortByReceiveFrequency(image.channels)));

    BulkChange change;
    change.step625 = { true, false };
    change.signalling = { image.channels[1], image.channels[2] };
    change.scanAdd = false;
    change.busyLock = true;
    change.clockShift = true;
    change.narrow = false;
    step("bulk set on 1 to 4, Wide allowed", shown(applyBulkChange(image, { 0, 1, 2, 3 }, change, true)));
    step("bulk set on 1, Wide not allowed", shown(applyBulkChange(image, { 0 }, change, false)));
    EXPECT_TRUE(test::matchesGolden("edit/commands.txt", out));
}

TEST(Edit, UndoRedoAndTheSavedMark)
{
    model::RadioImage a = model::defaultImage(0), b = a, c = a;
    b.channels[2][0] ^= 1;
    c.settings[4] ^= 1;
    EditHistory history(a);
    history.record("nothing", a, a);
    EXPECT_FALSE(history.canUndo());
    history.record("信道 3 接收频率", a, b);
    history.record("扫描模式", b, c);
    EXPECT_TRUE(history.isModified(c));
    EXPECT_EQ(history.undoLabel(), "扫描模式");
    EXPECT_EQ(history.undo(), b);
    EXPECT_EQ(history.undo(), a);
    EXPECT_FALSE(history.undo());
    EXPECT_FALSE(history.isModified(a)); // undone back to what was opened
    EXPECT_EQ(history.redoLabel(), "信道 3 接收频率");
    EXPECT_EQ(history.redo(), b);
    history.markSaved(b);
    EXPECT_FALSE(history.isModified(b));
    history.record("信道宽度", b, c); // a new step drops what could be redone
    EXPECT_FALSE(history.canRedo());
    EXPECT_EQ(history.redoLabel(), "");
    EXPECT_EQ(history.undo(), b);
    history.reset(c);
    EXPECT_FALSE(history.canUndo() || history.canRedo() || history.isModified(c));
}

} // namespace
