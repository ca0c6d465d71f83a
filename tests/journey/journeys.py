"""The journeys: each starts the real korvane on its own display and uses it as a person would.
Usage: journeys.py --korvane PATH --sim PATH --cli PATH JOURNEY"""

import argparse
import os
import re
import subprocess
import sys
import time

sys.dont_write_bytecode = True  # no cache folder in the source tree
from driver import APP_NAME, JourneyFailure, Session, wait_for

# Points of the 800 x 600 main window scrolled to the top (scrolled: to the bottom, the lists).
COLUMN_X = {"rx": 100, "rx_signal": 230, "scan": 510, "closed": 719, "inhibit": 751}
ROW_Y, SCROLLED_ROW_Y, ROW_PITCH, LABEL_X = 240, 162, 18, 38
TOOLBAR = {"open": (30, 50), "save": (68, 50), "read": (160, 50)}
FILE_SIZES = {"rdw": 643, "rdh": 431, "rdhax": 613}


def cell(column, channel, scrolled=False):
    return COLUMN_X[column], (SCROLLED_ROW_Y if scrolled else ROW_Y) + ROW_PITCH * (channel - 1)


def label(channel):
    return LABEL_X, ROW_Y + ROW_PITCH * (channel - 1)


def choose_labels(s, first, last):
    """Chooses channels first..last by a click on one label and a Shift+click on the other."""
    s.click(*label(first))
    s.xdo("keydown", "shift")
    s.click(*label(last))
    s.xdo("keyup", "shift")


def clipboard(s, text=None):
    """The clipboard's text, or puts text on it as another program (a spreadsheet) would."""
    if text is None:
        return subprocess.run(["xclip", "-selection", "clipboard", "-o"], env=s.env, capture_output=True, text=True,
                              timeout=10).stdout
    # xclip stays behind to hand the text over; it ends with the display.
    subprocess.run(["xclip", "-selection", "clipboard"], input=text, env=s.env, text=True, timeout=10,
                   stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)


def scroll(s, y):
    """Pages the content to one end by clicks in the scroll bar's trough."""
    for _ in range(6):
        s.click(793, y)


def enter_rx(s, channel, mhz, end=("Return",)):
    """Opens channel and types its receive frequency, then presses end."""
    s.click(*cell("closed", channel))
    s.click(*cell("rx", channel))
    s.type(mhz)
    if end:
        s.key(*end)


def save_as(s, name, via_toolbar=False, kind=None):
    """Save As, typing the whole path (with a kind, the name bare and the kind chosen); the file's dump."""
    path = s.path(name + ("." + kind if kind else ""))
    if via_toolbar:
        s.click(*TOOLBAR["save"])
    else:
        s.menu("f", "s")
    kinds = [("Tab",) + ("Down",) * list(FILE_SIZES).index(kind)] if kind else []
    s.answer("Save As", s.path(name), *kinds, ("Return",))
    wait_for(lambda: s.caption().startswith(os.path.basename(path) + " - "), "the caption to name " + path)
    return s.dump(path)


def journey_start(s):
    s.launch()
    s.expect(s.splash_seen, "no splash window before the main window")
    wait_for(lambda: s.painted("start.png"), "the main window painted", 10, 0.5)
    s.menu("f", "x")
    s.expect(s.wait_exit() == 0, "exit from the File menu did not end the program cleanly")
    # A file named at start-up opens as Open opens it.
    s.cli("new", "--model", "4", "-o", s.path("named.rdh"))
    s.start(s.path("named.rdh"))
    wait_for(lambda: s.caption() == "named.rdh - " + APP_NAME, "the caption to name the file given")
    s.expect(save_as(s, "opened.rdw")["model_index"] == 4, "the file given at start-up was not opened")


def journey_read(s):
    # A model 3 radio holding varied channels, read by the toolbar (the menu's read is the help journey's).
    radio3 = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "data", "csv", "varied_model3.rdw")
    s.launch("--file", radio3, "--newer", "--no-pace")
    s.click(*TOOLBAR["read"])
    box = s.box("读频完成", timeout=60)
    s.click_button(box, 51, 24)  # OK
    s.gone(box, "the box 读频完成 after a click")
    got, want = save_as(s, "read.rdw"), s.dump(radio3)
    s.expect(got["model_index"] == 3, "model after reading a model 3 radio: %s" % got["model_index"])
    s.expect(got["lists"]["band"] == want["lists"]["band"], "band text: " + got["lists"]["band"])
    s.expect(got["grid"] == want["grid"], "grid after the read differs from the radio's channels")


def journey_edit(s):
    s.launch()
    scroll(s, 450)
    s.click(*cell("closed", 1, True))
    s.click(*cell("rx", 1, True))
    s.type("145.125")
    s.key("Return", "space")  # Return stores it and makes the step cell beside it current: 6.25
    s.click(*cell("scan", 1, True))
    s.click(*cell("inhibit", 1, True))
    # Signalling: CTCSS, its tone typed, OK by a click.
    s.click(*cell("rx_signal", 1, True))
    dialog = s.box("信令设置")
    s.click(27, 50, win=dialog)
    s.click(125, 50, win=dialog)
    s.key("ctrl+a", win=dialog)
    s.type("100.0", win=dialog)
    s.click_button(dialog, 138, 24)
    s.gone(dialog, "the signalling dialog after OK")
    # A settings list: a click opens it, Escape closes it and Down steps it.
    s.click(305, 505)  # 发射限时
    wait_for(s.popup, "the list's drop-down")
    s.xdo("key", "Escape")
    s.key("Down")
    got = save_as(s, "edited.rdw")
    s.expect(got["grid"][0][:7] == ["145.12500", "6.25", "CTCSS: 100.0", "140.00000", "2.50", "OFF", "DEL"],
          "channel 1 after editing: %s" % got["grid"][0][:7])
    s.expect(got["closed"][:2] == [False, True], "closed channels: %s" % got["closed"][:2])
    s.expect(got["tx_inhibited"][:2] == [True, False], "transmit inhibited: %s" % got["tx_inhibited"][:2])
    s.expect(got["lists"]["tot"] == "90s", "time-out after Down: " + got["lists"]["tot"])
    # Another model, asked about: Yes changes the model.
    scroll(s, 100)
    s.click(160, 135)
    wait_for(s.popup, "the model list's drop-down")
    s.xdo("key", "Down", "Return")
    s.answer("选择不同机型", ("y",))
    got = save_as(s, "model.rdw")
    s.expect(got["model_index"] == 1, "model after answering Yes: %s" % got["model_index"])


def journey_spreadsheet(s):
    s.launch()
    for channel, mhz in ((1, "145.125"), (2, "146.5")):
        enter_rx(s, channel, mhz)
    s.key("ctrl+z", "ctrl+y")  # Ctrl+Z alone is the undo journey's
    s.expect(save_as(s, "redone.rdw")["grid"][1][0] == "146.50000", "the redo did not bring channel 2 back")
    # Three rows typed in a spreadsheet, pasted at 9.
    clipboard(s, "1\t\t150.000000\n2\t\t151.250000\t+\t0.600000\n3\t\t152.500000\n")
    s.click(*label(9))
    s.key("ctrl+v")
    s.menu("e", "Up", "Up", "Return")  # 按接收频率排序, above the last entry: the five pasted and typed
    got = save_as(s, "sorted.rdw")
    rx = [row[0] for row in got["grid"][:5]]
    s.expect(rx == ["145.12500", "146.50000", "150.00000", "151.25000", "152.50000"], "after sorting: %s" % rx)
    s.expect(got["closed"][5:] == [True] * 11, "channels open after sorting: %s" % got["closed"])
    # Channels 1 to 3 made Narrow at once.
    choose_labels(s, 1, 3)
    s.menu("e", "Up", "Return")  # 批量设置..., the last entry
    s.answer("批量设置", ("Tab",) * 7 + ("Down", "Return"))
    got = save_as(s, "bulk.rdw")
    widths = [row[9] for row in got["grid"][:4]]
    s.expect(widths == ["Narrow", "Narrow", "Narrow", "Wide"], "bandwidth after the bulk change: %s" % widths)
    # Exit over an unsaved edit: 取消 keeps the program.
    s.click(*cell("scan", 1))
    s.menu("f", "x")
    s.answer("保存数据", ("Escape",))
    time.sleep(1)
    s.expect(s.caption() == "bulk.rdw - " + APP_NAME, "the program did not stay after 取消")


def journey_undo(s):
    # Channels 1 to 4 open with their own frequencies; 2 and 3 copied.
    s.launch()
    for channel, mhz in ((1, "150"), (2, "145"), (3, "147.5"), (4, "146")):
        enter_rx(s, channel, mhz)
    choose_labels(s, 2, 3)
    s.key("ctrl+c")
    wait_for(lambda: clipboard(s), "the copied channels on the clipboard")
    saves = []

    def saved(name):
        saves.append(name)
        name = "%d-%s.rdw" % (len(saves), name)  # a new file each time: no question to replace one
        return save_as(s, name), open(s.path(name), "rb").read()

    start_bytes = saved("start")[1]
    # Each command on 2 and 3 (or at 8) by its shortcut or the menu (the Up presses from its end), undone.
    rounds = [("上移", "ctrl+Up", (2, 3)), ("下移", 5, (2, 3)), ("粘贴", 7, (8, 8)), ("插入信道", 4, (2, 3)),
              ("删除信道", 3, (2, 3)), ("剪切", "ctrl+x", (2, 3))]
    for name, how, chosen in rounds:
        choose_labels(s, *chosen)
        if isinstance(how, int):
            s.menu("e", *["Up"] * how, "Return")
        else:
            s.key(how)
        s.expect(saved("after")[1] != start_bytes, name + " changed nothing")
        s.key("ctrl+z")
        s.expect(saved("undone")[1] == start_bytes, name + ", undone, is not the image before it")


def journey_files(s):
    s.launch()
    enter_rx(s, 1, "147.5", end=())
    s.click(600, 150)  # a click on the background ends the edit, storing it
    got = save_as(s, "toolbar.rdw", via_toolbar=True)
    s.expect(got["grid"][0][0] == "147.50000", "a click on the background did not store the frequency")
    for kind, size in FILE_SIZES.items():
        got = save_as(s, "typed", kind=kind)
        s.expect(os.path.getsize(s.path("typed." + kind)) == size, "typed.%s is not a %s file" % (kind, kind))
        s.expect(got["grid"][0][0] == "147.50000", "typed.%s holds %s" % (kind, got["grid"][0][0]))
    s.cli("new", "--model", "4", "-o", s.path("other.rdh"))
    s.menu("f", "o")
    s.answer("打开", ("ctrl+a",), s.path("other.rdh"), ("Return",))
    wait_for(lambda: s.caption() == "other.rdh - " + APP_NAME, "the caption after Open")
    s.expect(save_as(s, "reopened.rdw")["model_index"] == 4, "the opened file's model is not shown")
    # The four recent-file entries, oldest first: typed.rdh, typed.rdhax, other.rdh, reopened.rdw.
    s.menu("f", "2")
    wait_for(lambda: s.caption() == "typed.rdhax - " + APP_NAME, "the caption after a recent-file entry")
    s.expect(save_as(s, "recent.rdw")["grid"][0][0] == "147.50000", "the recent file's channel 1")


def journey_write(s):
    radio = s.launch("--model", "2", "--older", "--no-pace")
    enter_rx(s, 1, "146.0125")  # on the 2.5 kHz step, off the 5 kHz grid of an older radio
    s.menu("p", "w")
    s.answer("旧对讲机", ("y",))
    s.answer("机型改变", ("y",))
    s.answer("写频完成", timeout=60)
    mine = save_as(s, "written.rdw")
    s.expect(mine["grid"][0][0] == "146.01000", "the rounded channel in the window: " + mine["grid"][0][0])
    s.stop_radio(radio)
    held = s.dump(s.sim_memory)
    s.expect(held["model_index"] == 0, "the radio does not hold the model written: %s" % held["model_index"])
    s.expect(held["channels"] == mine["channels"], "the radio's channels differ from the window's")
    s.expect(held["settings"][:16] == mine["settings"][:16], "the radio's settings differ from the window's")


def journey_compare(s):
    s.launch("--store-wrong", "0:0x25", "--no-pace")  # keeps channel 3's byte 5 wrong
    s.click(*cell("closed", 3))
    enter_rx(s, 1, "145.5")
    save_as(s, "mine.rdw")
    # Channel 1's scan changed; a double click on its row in the list chooses it, Space toggles it back.
    s.click(*cell("scan", 1))
    s.menu("f", "Down", "Down", "Down", "Down", "Return")  # 比较...
    s.answer("比较", s.path("mine.rdw"), ("Return",))
    box = s.box("比较结果")
    s.click(60, 45, win=box, times=2)  # the first row: 信道 1 扫描选择
    s.gone(box, "the list after a double click")
    s.key("space")
    s.expect(save_as(s, "again.rdw")["grid"][0][6] == "ADD", "the double click did not choose channel 1's scan")
    # The radio holds its defaults: every channel opened here differs.
    s.menu("f", "Down", "Down", "Down", "Down", "Down", "Return")  # 读取对讲机比较
    s.answer("比较结果", ("Escape",), timeout=60)
    # Written and read back at once, then one box: written, and the byte the radio keeps wrong.
    s.menu("p", "Down", "Down", "Return")  # 写频并校验
    s.answer("校验失败", timeout=60)


def journey_fleet(s):
    # A newer radio, one hanging up while programmed, an older one (channel 3 moves), one keeping a byte wrong.
    for port, options in ((1, ()), (2, ("--drop-during-program", "10")), (3, ("--older",)),
                          (4, ("--store-wrong", "0:0x25"))):
        s.start_radio(*options, port=port)
    with open(s.path("r25.csv"), "w") as csv:
        csv.write("Location,Frequency,Duplex,Offset,Mode,TStep\n3,146.012500,,0.000000,FM,2.50\n")
    s.cli("import-csv", s.path("r25.csv"), "--model", "0", "-o", s.path("r25.rdw"))
    # The desktop's opener notes what it was asked to open.
    os.makedirs(s.path("bin"))
    with open(s.path("bin/xdg-open"), "w") as opener:
        opener.write("#!/bin/sh\necho \"$1\" > %s\n" % s.path("opened"))
    os.chmod(s.path("bin/xdg-open"), 0o755)
    s.env["PATH"] = s.path("bin") + ":" + s.env["PATH"]
    s.start(s.path("r25.rdw"))
    s.menu("p", "Down", "Down", "Down", "Return")  # 批量写频...
    dialog = s.box("批量写频")
    s.key("Tab", "Tab", "Tab", "Tab", "space", "Return", win=dialog)  # 写频后读回校验; Return is 开始
    s.answer("旧对讲机", timeout=60)
    s.key("Escape", win=dialog)  # a round in progress is never left: the dialog stays for 下一批
    log = os.path.join(s.env["XDG_DATA_HOME"], "korvane", "fleet-log.csv")

    rows = lambda: open(log, encoding="utf-8").read().splitlines() if os.path.exists(log) else []
    lines = wait_for(lambda: len(rows()) == 5 and rows(), "the round's four log rows", 90)
    ends = [line.split(",", 1)[1] for line in lines[1:]]
    s.expect(ends[0].startswith("COM1,%s,MX-310(1)/MX-310S(1),新对讲机,写频完成," % s.path("com1"))
             and "校验通过" in ends[0], "COM1: " + ends[0])
    s.expect("校验失败：信道 3 字节 5" in ends[3], "COM4 (a byte wrong): " + ends[3])
    s.expect(s.dump(s.path("radio3.rdw"))["grid"][2][0] == "146.01000", "the older radio's channel 3")
    # The log opened with the desktop's program for it.
    opened = lambda: open(s.path("opened")).read().strip() if os.path.exists(s.path("opened")) else None
    s.click_button(dialog, 140, 20)  # 打开记录
    wait_for(opened, "the log to be opened")
    s.expect(opened() in (log, "file://" + log), "opened: %s" % opened())
    s.click_button(dialog, 40, 20)  # 关闭
    s.gone(dialog, "the fleet dialog")


def journey_print(s):
    s.launch()
    enter_rx(s, 1, "145.5")
    pdf = s.path("sheet.pdf")
    s.menu("f", "p")
    dialog = s.box("打印")
    # The PDF printer is the last entry of the focused printer list; two Tabs on is the output file.
    s.key("End", "Tab", "Tab", win=dialog)
    s.key("ctrl+a", win=dialog)
    s.type(pdf, win=dialog)
    # A Return that lands while the file box's list of path matches is open only closes the list.
    for attempt in range(3):
        s.key("Return", win=dialog)
        try:
            s.gone(dialog, "the print dialog", timeout=5 if attempt < 2 else 30)
            break
        except JourneyFailure:
            if attempt == 2:
                raise
    wait_for(lambda: os.path.exists(pdf) and os.path.getsize(pdf) > 1000, "the PDF", 60)
    text = subprocess.run(["pdftotext", pdf, "-"], capture_output=True, text=True).stdout
    s.expect("145.50000" in text, "the printed sheet lacks channel 1's frequency")


def journey_alignment(s):
    s.launch()
    s.menu("e", "t")
    s.answer("调整模式密码")  # no password is set: an empty entry is right
    s.click(340, 212)  # the high-end test channel's receive frequency
    s.type("149.5")
    s.key("Return")
    s.menu("e", "d")  # a new password, typed twice; Enter moves on, then confirms
    s.answer("修改密码", "k9", ("Return",), "k9", ("Return",))
    adjusts = lambda: s.log_text().count("adjust item 1 to")
    closed = lambda: s.log_text().endswith("closed the line\n")
    s.click(72, 138)  # 发射功率
    wait_for(lambda: "tEST1" in s.log_text() and adjusts() == 1, "the item start and its first adjust packet")
    values = lambda: re.findall(r"adjust item 1 to (\d+)", s.log_text())
    time.sleep(1)  # the exchange ends unseen 0.25 s after the packet: give it a person's pause
    s.click(620, 296)  # in the trough: +5, and the bar takes the focus
    wait_for(lambda: adjusts() >= 2, "an adjust packet after a click in the trough")
    s.expect(values()[-1] == "133", "a click in the trough sent %s, not 133" % values()[-1])
    time.sleep(1)
    s.click(579, 343)  # OK
    wait_for(lambda: "END" in s.log_text().split("adjust item")[-1] and closed(), "END after OK, the line closed")
    # Enter on the item the arrow keys move to starts it.
    s.click(64, 93)
    s.key("Down", "Down", "Return")
    wait_for(lambda: "tEST0" in s.log_text(), "Enter on 发射频率 to start its item")
    time.sleep(1)
    # Tab leads from the tree to the bar, whose arrow keys then step; Escape means 取消.
    s.key("Tab", "Right")
    wait_for(lambda: s.log_text().count("adjust item 0 to") == 2, "an adjust packet after Tab to the bar and Right")
    time.sleep(1)
    s.key("Escape")
    wait_for(lambda: "CANCEL" in s.log_text() and closed(), "CANCEL after Escape, the line closed")
    s.menu("e", "h")
    enter_rx(s, 1, "138")  # the channel view is back
    got = save_as(s, "after-alignment.rdw")
    s.expect(got["grid"][0][0] == "138.00000", "the channel view after leaving")
    s.expect(got["alignment"][0][:3] == [152, 233, 8], "test channel 149.5 MHz: %s" % got["alignment"][0][:3])
    # The new password opens the mode.
    s.menu("e", "t")
    s.answer("调整模式密码", "k9", ("Return",))  # a wrong one would leave the dialog open


def journey_busy(s):
    s.launch()  # paced: a newer radio takes about seven seconds to program
    s.menu("p", "w")
    progress = s.box("写频")
    s.key("alt+f")
    time.sleep(0.5)
    s.expect(not s.popup(), "Alt+F opened the File menu during a write")
    s.key("Escape", "ctrl+o", "Return", "space")
    s.click(*TOOLBAR["open"])
    s.click(*cell("closed", 3))
    s.close_request()
    s.close_request(progress)
    time.sleep(1)
    if progress not in s.windows("."):
        raise JourneyFailure("the write was over before the journey's input: too slow a machine to tell")
    s.expect(s.app.poll() is None, "a close request ended the program during a write")
    s.expect(not s.windows("^(打开|Save As)"), "a file dialog opened during a write")
    s.answer("写频完成", timeout=120)
    s.expect(save_as(s, "after-busy.rdw")["closed"][2], "a click during the write opened channel 3")
    s.close_request()
    s.expect(s.wait_exit() == 0, "a close request after the write did not end the program cleanly")


def journey_help(s):
    s.start_radio()
    s.start_radio("--model", "2", "--no-pace", port=2)  # a second port to choose
    s.start()
    for letter in "ci":
        s.menu("h", letter)
        win = s.window("^帮助", "the help window")
        s.key("Escape", win=win)
        s.gone(win, "the help window")
    s.click(263, 8)  # the About entry by the mouse: the third entry of the Help menu
    menu = wait_for(s.popup, "the Help menu")
    s.click(40, 55, win=menu)
    s.answer("关于 " + APP_NAME)
    # CSV out and back in, through the real dialogs.
    enter_rx(s, 1, "147.5")
    csv = s.path("channels.csv")
    s.menu("f", "Down", "Down", "Return")  # 导出CSV...
    s.answer("导出CSV", csv, ("Return",))
    wait_for(lambda: os.path.exists(csv), "the exported CSV")
    s.click(*cell("closed", 1))  # close channel 1 again; the import opens it
    s.menu("f", "Down", "Down", "Down", "Return")  # 导入CSV...
    s.answer("保存数据", ("n",))
    s.answer("导入CSV", csv, ("Return",))
    s.answer("导入CSV", ("y",))
    got = save_as(s, "imported.rdw")
    s.expect(got["grid"][0][0] == "147.50000" and not got["closed"][0], "channel 1 after the import")
    # The port dialog: COM2 by keys.
    s.menu("c", "p")
    s.answer("通讯端口选择", ("Right", "Return"))
    s.menu("p", "r")  # through COM2 now, where a model 2 radio is
    s.answer("读频完成", timeout=60)
    s.expect(save_as(s, "com2.rdw")["model_index"] == 2, "the read after choosing COM2 did not reach its radio")


def journey_probe(s):
    # 检测 on a device another program holds, its path typed under 其他设备...; its outcome by Ctrl+C.
    s.launch("--held")
    s.menu("c", "p")
    dialog = s.box("通讯端口选择")
    device = os.path.realpath(s.path("com1"))
    s.click(220, 160, win=dialog)
    s.type(device, win=dialog)
    s.click(51, s.geometry(dialog)[3] - 22, win=dialog)  # 检测

    def copied():
        s.key("ctrl+c", win=dialog)
        text = clipboard(s)
        return text if "建议" in text else None
    lines = wait_for(copied, "the probe's outcome", 90, 1).splitlines()
    s.expect(lines[0] == "✓ 设备存在：" + device and lines[-2].startswith("✗ 设备正被其他程序占用：korvane-radio")
             and lines[-1] == "建议：请先关闭该程序，再读频或写频。", "a held device: %r" % lines)


JOURNEYS = {name[len("journey_"):]: f for name, f in list(globals().items()) if name.startswith("journey_")}


def main():
    parser = argparse.ArgumentParser()
    for tool in ("korvane", "sim", "cli"):
        parser.add_argument("--" + tool, required=True)
    parser.add_argument("journey", choices=sorted(JOURNEYS))
    args = parser.parse_args()
    started = time.monotonic()
    with Session({t: os.path.abspath(getattr(args, t)) for t in ("korvane", "sim", "cli")}, args.journey) as s:
        JOURNEYS[args.journey](s)
    print("journey %s: passed (%.1f s)" % (args.journey, time.monotonic() - started))


if __name__ == "__main__":
    main()
