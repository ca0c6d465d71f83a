// The window driven as the user drives it by the scripts tests/data/app/*.steps; each script's
// transcript (messages, dialogs, snapshots, bytes, files, what the radio heard) is compared with its *.txt.

#include "app/alignment_view.h"
#include "app/channel_view.h"
#include "app/fonts.h"
#include "app/frequency_box.h"
#include "core/files/data_file.h"
#include "core/model/defaults.h"
#include "support/golden.h"
#include "support/layout_audit.h"
#include "support/sim_radio.h"
#include "support/snapshot.h"
#include "support/window_fixture.h"

#include <QClipboard>
#include <QDragEnterEvent>
#include <QMimeData>
#include <QDir>
#include <QPrinter>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QStyleOptionSlider>
#include <QtTest>

using namespace korvane;

namespace {

// The words of a step as written: a quoted one keeps its quotes.
QStringList tokens(const QString& line)
{
    static const QRegularExpression token("\"(?:[^\"\\\\]|\\\\.)*\"|\\S+");
    QStringList out;
    for (auto m = token.globalMatch(line); m.hasNext();)
        out << m.next().captured();
    return out;
}

QStringList words(const QString& line)
{
    QStringList out = tokens(line);
    for (QString& word : out)
        if (word.startsWith('"')) word = word.mid(1, word.size() - 2).replace("\\n", "\n").replace("\\r", "\r");
    return out;
}

Qt::Key keyNamed(const QString& name)
{
    static const std::map<QString, Qt::Key> keys { { "Return", Qt::Key_Return }, { "Enter", Qt::Key_Enter },
        { "Escape", Qt::Key_Escape }, { "Space", Qt::Key_Space }, { "Up", Qt::Key_Up }, { "Down", Qt::Key_Down },
        { "Left", Qt::Key_Left }, { "Right", Qt::Key_Right }, { "Tab", Qt::Key_Tab }, { "Home", Qt::Key_Home },
        { "End", Qt::Key_End }, { "Backspace", Qt::Key_Backspace }, { "Delete", Qt::Key_Delete },
        { "Insert", Qt::Key_Insert } };
    const auto found = keys.find(name);
    return found != keys.end() ? found->second : static_cast<Qt::Key>(name.at(0).toUpper().unicode());
}

Qt::MouseButton buttonNamed(const QString& name)
{
    return name == "right" ? Qt::RightButton : name == "middle" ? Qt::MiddleButton : Qt::LeftButton;
}

QWindow* windowOf(const QWidget* w) { return w->window()->windowHandle(); }

QPoint inWindow(const QWidget* w, QPoint at) { return w->mapTo(w->window(), at); }

QString hexLines(const QByteArray& bytes)
{
    QString out;
    for (qsizetype at = 0; at < bytes.size(); at += 32)
        out += QString("  %1: ").arg(at, 4, 16, QChar('0')) + QString::fromStdString(test::hex(bytes.mid(at, 32)))
            + "\n";
    return out;
}

// The steps with `def NAME ...` to `enddef` sequences written out where `NAME VALUE...` runs them ($1 to $9).
QStringList expanded(QStringList lines)
{
    std::map<QString, QStringList> defs;
    QStringList out;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const QStringList t = tokens(lines[i]);
        if (t.value(0) == "def") {
            QStringList& body = defs[t[1]];
            body.clear();
            while (++i < lines.size() && lines[i].trimmed() != "enddef")
                body << lines[i];
        } else if (const auto def = defs.find(t.value(0)); def != defs.end()) {
            QStringList body = def->second;
            for (QString& line : body)
                for (qsizetype k = 9; k > 0; --k)
                    line.replace("$" + QString::number(k), t.value(k));
            for (qsizetype k = 0; k < body.size(); ++k)
                lines.insert(i + 1 + k, body[k]);
        } else
            out << lines[i];
    }
    return out;
}

class Scenario {
public:
    Scenario() { test::colourLegend().clear(); }
    QString run(const QStringList& lines)
    {
        for (int i = 0; i < lines.size(); ++i) {
            const QString line = lines[i].trimmed();
            if (line.isEmpty()) continue;
            if (line.startsWith('#')) {
                m_out += (lines.value(i - 1).startsWith('#') ? "" : "\n") + line + "\n";
                continue;
            }
            m_out += "> " + line + "\n";
            if (line == "dialog") {
                QStringList block;
                while (++i < lines.size() && lines[i].trimmed() != "end")
                    block << lines[i];
                m_out += "  (queued)\n";
                m_fixture->dialogs.modalScripts.push_back([this, block](QDialog& dialog) {
                    // Shown without a window manager, a dialog is not made active by itself.
                    dialog.activateWindow();
                    if (!QTest::qWaitFor([&dialog] { return dialog.isActiveWindow(); }, 2000))
                        m_out += "  (dialog not active)\n";
                    QWidget* outer = std::exchange(m_root, &dialog);
                    m_out += "  [dialog " + dialog.objectName() + "]\n";
                    for (const QString& step : block) {
                        if (!dialog.isVisible()) {
                            m_out += "  (closed)\n";
                            break;
                        }
                        m_out += "  >> " + step.trimmed() + "\n";
                        this->step(words(step));
                        news();
                    }
                    m_out += QString("  [dialog result %1]\n").arg(dialog.result());
                    m_root = outer;
                });
                continue;
            }
            reactivate();
            step(words(line));
            news();
        }
        // The simulated radio's device differs from run to run.
        static const QRegularExpression device("/dev/pts/\\d+");
        return m_out.replace(m_fixture->dir.path(), "<dir>")
            .replace(KORVANE_TEST_DATA, "<data>")
            .replace(QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation), "<documents>")
            .replace(device, "<pts>");
    }

private:
    // A dialog closed before takes the window's activation with it, as without a window manager.
    void reactivate()
    {
        if (m_root && !m_root->isActiveWindow() && m_root->isVisible()) {
            m_root->activateWindow();
            if (!QTest::qWaitFor([this] { return m_root->isActiveWindow(); }, 2000)) m_out += "  (window not active)\n";
        }
    }

    QWidget* widget(const QString& spec) const
    {
        const QStringList parts = spec.split('#');
        if (parts[0] == "window" || m_root->objectName() == parts[0]) return m_root;
        for (QWidget* w : m_root->findChildren<QWidget*>(parts[0]))
            if (parts.size() == 1 || w->property("index").toInt() == parts[1].toInt()) return w;
        for (QWidget* w : m_root->findChildren<QWidget*>()) // or the first of a class
            if (w->metaObject()->className() == parts[0]) return w;
        qFatal("no widget %s", qPrintable(spec));
    }

    QString path(const QString& name) const
    {
        if (name.startsWith("@")) return QString(KORVANE_TEST_DATA) + "/" + name.mid(1);
        return QDir::isAbsolutePath(name) ? name : m_fixture->path(name);
    }

    static model::Record& record(model::RadioImage& image, const QString& which)
    {
        if (which.startsWith("p")) return image.parameters.at(which.mid(1).toUInt());
        if (which.startsWith("a")) return image.alignment.at(which.mid(1).toUInt());
        return image.channels.at(which.toUInt() - 1);
    }

    void click(const QWidget* w, QPoint at, Qt::MouseButton button = Qt::LeftButton)
    {
        QTest::mouseClick(windowOf(w), button, {}, inWindow(w, at));
    }

    void startWindow(const QStringList& a)
    {
        m_fixture->window.reset();
        // start [ports N] [screen WIDTH]: the ports found, the screen's width (else its own)
        int ports = 0;
        for (int k = 1; k + 1 < a.size(); k += 2)
            (a[k] == "ports" ? ports : m_screen) = a[k + 1].toInt();
        auto& f = *m_fixture;
        std::function<int()> screen = [this] { return m_screen; };
        f.window = std::make_unique<app::MainWindow>(f.dialogs,
            app::MainWindowOptions { f.settingsPath(), [ports] { return ports; }, m_screen ? screen : nullptr,
                f.backupFolder().toStdString(), f.portMap() });
        f.window->show();
        m_root = f.window.get();
        m_root->activateWindow();
        if (!QTest::qWaitForWindowActive(m_root)) m_out += "  (window not active)\n";
    }

    // One step; `a` holds its words.
    void step(const QStringList& a)
    {
        const QString& op = a[0];
        app::MainWindow* mw = m_fixture->window.get();
        if (op == "start")
            startWindow(a);
        else if (op == "ini") {
            QFile file(m_fixture->settingsPath());
            if (!file.open(QIODevice::Append)) m_out += "  (cannot write the settings file)\n";
            file.write(a.mid(1).join(' ').toUtf8() + "\r\n");
        } else if (op == "sim") {
            m_sim.reset();
            // sim OPTION...: a simulated radio on COM1 logging what it hears; --save/--file name local files
            QStringList options { "--log", m_fixture->path("radio.log") };
            for (int k = 1; k < a.size(); ++k)
                options << (a[k - 1] == "--save" || a[k - 1] == "--file" ? path(a[k]) : a[k]);
            m_sim = std::make_unique<test::SimRadio>(options);
            m_heard = 0;
        } else if (op == "nosim")
            m_sim.reset();
        else if (op == "heard")
            heard();
        else if (op == "snap")
            snap(a);
        else if (op == "fits") // nothing clipped or overlapping in the window the steps go to
            for (const QString& problem : test::layoutProblems(m_root))
                m_out += "  " + problem + "\n";
        else if (op == "whole") { // all of one widget shows: its text fits and nothing cuts it off
            const QWidget* w = widget(a[1]);
            const bool whole = w->isVisible() && test::textShortfall(w).isEmpty()
                && w->visibleRegion() == QRegion(w->rect());
            m_out += "  " + a[1] + " shows whole: " + (whole ? "yes" : "no") + "\n";
        } else if (op == "beside")
            beside(*mw->findChild<app::RecordGrid*>(a[1]));
        else if (op == "act") {
            const QStringList parts = a[1].split('#');
            for (QAction* action : m_root->findChildren<QAction*>(parts[0]))
                if (parts.size() == 1 || action->property("index").toInt() == parts[1].toInt()) {
                    action->trigger();
                    break;
                }
        } else if (op == "tool") {
            for (QAction* action : mw->toolBar()->actions())
                if (action->data().toString() == a[1]) {
                    QWidget* button = mw->toolBar()->widgetForAction(action);
                    click(button, button->rect().center());
                }
        } else if (op == "click") {
            QWidget* w = widget(a[1]);
            // A point from the left and top edges, or from the right and bottom when negative.
            const auto edge = [](int at, int size) { return at < 0 ? size + at : at; };
            const QPoint at = a.size() > 3 ? QPoint(edge(a[2].toInt(), w->width()), edge(a[3].toInt(), w->height()))
                                           : w->rect().center();
            click(w, at);
        } else if (op == "cell") {
            // cell GRID ROW COLUMN [BUTTON] [shift]
            auto* grid = qobject_cast<app::RecordGrid*>(widget(a[1]));
            const QPoint at = grid->visualRect(grid->model()->index(a[2].toInt(), a[3].toInt())).center();
            const Qt::KeyboardModifiers keys = a.value(5) == "shift" ? Qt::ShiftModifier : Qt::NoModifier;
            QTest::mouseClick(windowOf(grid), buttonNamed(a.value(4)), keys, inWindow(grid->viewport(), at));
        } else if (op == "round") {
            // round STEP...: STEP just after an undo, then undone and redone, compared byte for byte.
            step({ "click", "chkRecChan#15" });
            step({ "key", "Ctrl+Z" });
            const model::RadioImage before = mw->image();
            step(a.mid(1));
            reactivate();
            const model::RadioImage after = mw->image();
            m_out += "  changed" + changedChannels(before, after) + " | " + editEntries() + "\n";
            step({ "key", "Ctrl+Z" });
            m_out += QString("  undone: %1 | ").arg(mw->image() == before ? "as before" : "NOT as before")
                + editEntries() + "\n";
            step({ "key", "Ctrl+Y" });
            m_out += QString("  redone: %1 | ").arg(mw->image() == after ? "as after" : "NOT as after") + editEntries()
                + "\n";
        } else if (op == "node") {
            auto* tree = mw->alignmentView()->treeView2();
            click(tree->viewport(), tree->visualItemRect(tree->node(a[1])).center());
        } else if (op == "bar")
            scrollBarClick(qobject_cast<QScrollBar*>(widget(a[1])), a[2]);
        else if (op == "drag") {
            auto* bar = qobject_cast<QScrollBar*>(widget(a[1]));
            bar->setSliderDown(true);
            bar->setSliderPosition(a[2].toInt());
            bar->setSliderDown(false);
        } else if (op == "wheel") {
            QWidget* w = widget(a[1]);
            const QPoint at = inWindow(w, w->visibleRegion().boundingRect().center());
            QWheelEvent event(at, w->window()->mapToGlobal(at), {}, { 0, 120 * a[2].toInt() }, Qt::NoButton, {},
                Qt::NoScrollPhase, false);
            QSpontaneKeyEvent::setSpontaneous(&event);
            qApp->notify(windowOf(w), &event);
        } else if (op == "key")
            for (const QString& k : a.mid(1)) {
                // Ctrl+X, Shift+Insert, Keypad+Enter
                const QStringList parts = k.split('+');
                Qt::KeyboardModifiers mods;
                for (const QString& m : parts.mid(0, parts.size() - 1))
                    mods |= m == "Ctrl" ? Qt::ControlModifier : m == "Shift" ? Qt::ShiftModifier : Qt::KeypadModifier;
                QTest::keyClick(windowOf(m_root), keyNamed(parts.last()), mods);
            }
        else if (op == "clip")
            QGuiApplication::clipboard()->setText(a[1]);
        else if (op == "retype") {
            // Over the whole text of the focused box, as a user replaces a selected entry.
            if (auto* box = qobject_cast<QLineEdit*>(QApplication::focusWidget())) box->selectAll();
            if (auto* list = qobject_cast<QComboBox*>(QApplication::focusWidget()); list && list->lineEdit())
                list->lineEdit()->selectAll();
            QTest::keyClick(windowOf(m_root), Qt::Key_Backspace);
            step({ "type", a.value(1) });
        } else if (op == "type")
            for (const QChar c : a[1])
                QTest::keyClick(windowOf(m_root), c.toLatin1());
        else if (op == "focus")
            widget(a[1])->setFocus(Qt::TabFocusReason);
        else if (op == "at") {
            // The current cell of a grid, moved there as the arrow keys would, with the focus.
            auto* grid = qobject_cast<app::RecordGrid*>(widget(a[1]));
            grid->setFocus();
            grid->setCurrentCell(a[2].toInt(), a[3].toInt());
        } else if (op == "choose") {
            auto* list = qobject_cast<QComboBox*>(widget(a[1]));
            list->showPopup();
            QAbstractItemView* view = list->view();
            view->setCurrentIndex(view->model()->index(a[2].toInt(), list->modelColumn(), list->rootModelIndex()));
            QTest::keyClick(view, Qt::Key_Return);
        } else if (op == "chooseall") {
            auto* list = qobject_cast<QComboBox*>(widget(a[1]));
            for (int i = 0; i < list->count(); ++i) {
                step({ "choose", a[1], QString::number(i) });
                m_out += QString("  [%1] %2 settings %3\n")
                             .arg(i)
                             .arg(list->currentText(), QString::fromStdString(test::hex(mw->image().settings)));
            }
        } else if (op == "popup") {
            auto* list = qobject_cast<QComboBox*>(widget(a[1]));
            list->showPopup();
            list->hidePopup();
        } else if (op == "settext") {
            if (auto* grid = qobject_cast<app::RecordGrid*>(widget(a[1])))
                grid->setText(a[2].toInt(), a[3].toInt(), a.value(4));
            else if (auto* list = qobject_cast<QComboBox*>(widget(a[1])))
                list->setEditText(a.value(2));
            else
                qobject_cast<QLineEdit*>(widget(a[1]))->setText(a.value(2));
        } else if (op == "answer")
            for (const QString& yes : a.mid(1))
                m_fixture->dialogs.answers.push_back(yes == "yes");
        else if (op == "openfile" || op == "savefile") {
            auto& queue = op == "openfile" ? m_fixture->dialogs.openChoices : m_fixture->dialogs.saveChoices;
            if (a.value(1) == "-")
                queue.push_back(std::nullopt);
            else
                queue.push_back(app::FileChoice { path(a[1]), a.value(2, "1").toInt() });
        } else if (op == "drop") { // a file dropped on the window, as from a file manager
            QMimeData data;
            data.setUrls({ QUrl::fromLocalFile(path(a[1])) });
            QDragEnterEvent enter(m_root->rect().center(), Qt::CopyAction, &data, Qt::LeftButton, {});
            QDropEvent drop(QPointF(m_root->rect().center()), Qt::CopyAction, &data, Qt::LeftButton, {});
            for (QEvent* event : std::initializer_list<QEvent*> { &enter, &drop })
                QApplication::sendEvent(m_root, event);
            QTest::qWait(50);
        } else if (op == "write") {
            QFile file(path(a[1]));
            if (!file.open(QIODevice::WriteOnly)) m_out += "  (cannot write)\n";
            file.write(a.value(2).toUtf8());
            if (a.value(2).startsWith("#!")) file.setPermissions(file.permissions() | QFile::ExeOwner);
        } else if (op == "datadir")
            qputenv("KORVANE_DATA_DIR", (a.size() > 1 ? path(a[1]) : KORVANE_SOURCE_DIR "/data").toLocal8Bit());
        else if (op == "copy")
            QFile::copy(path(a[1]), path(a[2]));
        else if (op == "mkdir")
            QDir().mkpath(path(a[1]));
        else if (op == "remove")
            QFile::remove(path(a[1]));
        else if (op == "saveimage") {
            auto image = model::defaultImage(a[2].toInt());
            // saveimage NAME MODEL [code CODE | BYTE HEX]: defaults, an unknown model code, or one settings byte
            if (a.value(3) == "code")
                image.modelIndex = -1, image.unknownModelCode = static_cast<std::int16_t>(a[4].toInt());
            else if (a.size() > 4)
                image.settings.at(a[3].toUInt()) = static_cast<std::uint8_t>(a[4].toUInt(nullptr, 16));
            const auto kind = a[1].endsWith(".rdh") ? files::FileKind::Rdh
                : a[1].endsWith(".rdhax")           ? files::FileKind::Rdhax
                                                    : files::FileKind::Rdw;
            if (files::saveDataFile(path(a[1]).toStdString(), image, kind)) m_out += "  (not saved)\n";
        } else if (op == "poke") {
            // poke CHANNEL|pN|aN|set|model BYTE HEX...: bytes of the image, then shown
            mw->document().edit([&](model::RadioImage& image) {
                if (a[1] == "model")
                    image.modelIndex = static_cast<std::int16_t>(a[2].toInt());
                else
                    for (int k = 3; k < a.size(); ++k) {
                        const auto at = static_cast<std::size_t>(a[2].toInt() + k - 3);
                        const auto value = static_cast<std::uint8_t>(a[k].toUInt(nullptr, 16));
                        (a[1] == "set" ? image.settings.at(at) : record(image, a[1]).at(at)) = value;
                    }
                mw->refreshFromImage();
            });
        } else if (op == "env") {
            // env NAME [VALUE]: set for the rest of the run, or back to what it was
            if (!m_env.contains(a[1])) m_env[a[1]] = qgetenv(qPrintable(a[1]));
            qputenv(qPrintable(a[1]), a.size() > 2 ? path(a[2]).toLocal8Bit() : m_env[a[1]]);
        } else if (op == "commit") {
            // Text from an input method, not typed.
            QInputMethodEvent event;
            event.setCommitString(a.value(1));
            if (QObject* focus = QGuiApplication::focusObject())
                QCoreApplication::sendEvent(focus, &event);
            else
                m_out += "  (no focus)\n";
        } else if (op == "contextmenu") {
            QString seen = "none";
            QTimer::singleShot(0, [&seen] {
                if (QWidget* popup = QApplication::activePopupWidget()) seen = "shown", popup->close();
            });
            QWidget* w = widget(a[1]);
            if (auto* list = qobject_cast<QComboBox*>(w); list && list->lineEdit()) w = list->lineEdit();
            click(w, w->rect().center(), Qt::RightButton);
            QCoreApplication::processEvents();
            m_out += "  context menu " + seen + "\n";
        } else if (op == "onmessage") {
            // onmessage GRID FROM TO: the grid's rows as they are while each message is shown
            m_fixture->dialogs.onMessage = [this, a](const util::Message&) {
                m_out += "  while the message shows:\n";
                snap(a);
            };
        } else if (op == "top") {
            // top [NAME]: steps go to another top-level window, or back to the main window
            m_root = mw;
            for (QWidget* w : QApplication::topLevelWidgets())
                if (a.size() > 1 && w->objectName() == a[1] && w->isVisible()) m_root = w;
        } else if (op == "printto") {
            // printto FILE|-: the print dialog prints to a PDF file, or is cancelled
            m_fixture->dialogs.printerChoice = [this, file = a.value(1)](QPrinter& printer) {
                m_out += "  print dialog\n";
                printer.setOutputFormat(QPrinter::PdfFormat);
                printer.setOutputFileName(file == "-" || file.isEmpty() ? file.left(0) : path(file));
                return file != "-";
            };
        } else if (op == "pdftext") {
            // The words of the page with their boxes in points, as pdftotext finds them.
            QProcess pdftotext;
            pdftotext.start("pdftotext", { "-bbox", path(a[1]), "-" });
            pdftotext.waitForFinished();
            static const QRegularExpression word(
                "<word xMin=\"([\\d.]+)\" yMin=\"([\\d.]+)\" xMax=\"([\\d.]+)\" yMax=\"([\\d.]+)\">([^<]*)</word>");
            for (auto m = word.globalMatch(QString::fromUtf8(pdftotext.readAllStandardOutput())); m.hasNext();) {
                const auto w = m.next();
                m_out += QString("  %1,%2 %3,%4 %5\n")
                             .arg(qRound(w.captured(1).toDouble()))
                             .arg(qRound(w.captured(2).toDouble()))
                             .arg(qRound(w.captured(3).toDouble()))
                             .arg(qRound(w.captured(4).toDouble()))
                             .arg(w.captured(5));
            }
        } else if (op == "resize")
            mw->resize(a[1].toInt(), a[2].toInt());
        else if (op == "move")
            mw->move(a[1].toInt(), a[2].toInt());
        else if (op == "screen")
            m_screen = a[1].toInt();
        else if (op == "wait")
            QTest::qWait(a[1].toInt());
        else if (op == "waitfor") {
            if (!QTest::qWaitFor([this, &a] { return QFile::exists(path(a[1])); }, 10000)) m_out += "  (none)\n";
        } else if (op == "image") // image [FIRST LAST | tables]: all, some channels, or the other tables
            image(a.value(1, "1").toInt(), a.value(2, "16").toInt(), a.size() == 1 || a[1] == "tables");
        else if (op == "state")
            state();
        else if (op == "file") {
            QFile file(path(a[1]));
            if (!file.open(QIODevice::ReadOnly))
                m_out += "  (no file)\n";
            else if (a.value(2) == "text")
                m_out += QString::fromUtf8(file.readAll()).replace("\r\n", "\\r\\n\n");
            else
                m_out += hexLines(file.readAll());
        } else if (op == "ls") {
            static const QRegularExpression stamp("\\d{8}-\\d{6}-\\d{3}");
            for (QString name : QDir(path(a[1])).entryList(QDir::Files, QDir::Name))
                m_out += "  " + name.replace(stamp, "<stamp>") + "\n";
        } else if (op == "close")
            m_root->close();
        else if (op == "call")
            call(a[1]);
        else
            QFAIL(qPrintable("unknown step " + op));
    }

    // A window or one widget of it; `snap GRID FROM TO` shows only those rows of a grid.
    void snap(const QStringList& a)
    {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest); // as the screen shows it
        const QStringList lines = test::snapshot(a.size() > 1 ? widget(a[1]) : m_root).split('\n');
        static const QRegularExpression gridRow("^\\s*r(\\d+) ");
        for (const QString& line : lines) {
            const auto row = gridRow.match(line);
            if (a.size() < 4 || !row.hasMatch()
                || (row.captured(1).toInt() >= a[2].toInt() && row.captured(1).toInt() <= a[3].toInt()))
                m_out += line.isEmpty() ? "" : line + "\n";
        }
    }

    // Where the dialog the steps go to stands against the grid's current cell (as the grid counts
    // its cells, from the grid's corner) and against the screen.
    void beside(const app::RecordGrid& grid)
    {
        const int row = grid.currentRow(), column = grid.currentColumn();
        const QPoint corner = grid.mapToGlobal(QPoint(grid.columnLeft(column + 1), grid.rowTop(row + 1)));
        const QRect dialog = m_root->frameGeometry();
        const auto yes = [](bool fact) { return fact ? QString("yes") : QString("no"); };
        m_out += "  " + m_root->objectName() + " right of the cell " + yes(dialog.left() == corner.x())
            + ", below it " + yes(dialog.top() == corner.y()) + ", above it "
            + yes(dialog.bottom() + 1 == corner.y() - grid.rowHeight(row)) + ", on the screen "
            + yes(m_root->screen()->availableGeometry().contains(dialog)) + "\n";
    }

    // The window's own commands for what has no control of its own in a test.
    void call(const QString& what)
    {
        app::MainWindow* mw = m_fixture->window.get();
        if (what == "focusSink")
            mw->focusSink();
        else if (what == "drop")
            mw->txtRecFreq()->drop(), mw->txtTxFreq()->drop();
        else if (what == "commit")
            mw->txtRecFreq()->commitOnLeaving(), mw->txtTxFreq()->commitOnLeaving();
        else if (what == "unfocus")
            QApplication::focusWidget()->clearFocus();
        else if (what == "refresh")
            mw->refreshFromImage();
        else if (what == "readBusy")
            mw->state().readBusy = !mw->state().readBusy;
    }

    void scrollBarClick(QScrollBar* bar, const QString& part)
    {
        QStyleOptionSlider opt;
        opt.initFrom(bar);
        opt.subControls = QStyle::SC_All;
        opt.orientation = bar->orientation();
        opt.minimum = bar->minimum();
        opt.maximum = bar->maximum();
        opt.sliderPosition = bar->sliderPosition();
        opt.sliderValue = bar->value();
        opt.singleStep = bar->singleStep();
        opt.pageStep = bar->pageStep();
        const auto control = part == "add" ? QStyle::SC_ScrollBarAddLine
            : part == "sub"                ? QStyle::SC_ScrollBarSubLine
            : part == "pageadd"            ? QStyle::SC_ScrollBarAddPage
                                           : QStyle::SC_ScrollBarSubPage;
        click(bar, bar->style()->subControlRect(QStyle::CC_ScrollBar, &opt, control, bar).center());
    }

    // Messages, questions and file dialogs that came up since the last step.
    void news()
    {
        auto& d = m_fixture->dialogs;
        for (; m_requests < d.fileRequests.size(); ++m_requests) {
            const auto& r = d.fileRequests[m_requests];
            m_out += "  file dialog " + test::quoted(r.title) + " name=" + test::quoted(r.fileName)
                + (r.folder.isEmpty() ? "" : " folder=" + test::quoted(r.folder)) + " filters=" + r.filters.join('|')
                + QString(" filter=%1 suffix=").arg(r.filterIndex) + r.defaultSuffix + "\n";
        }
        for (; m_questions < d.questions.size(); ++m_questions)
            m_out += "  question [" + QString::fromStdString(d.questions[m_questions].title) + "] "
                + QString::fromStdString(d.questions[m_questions].text) + "\n";
        for (; m_messages < d.messages.size(); ++m_messages)
            m_out += "  message [" + QString::fromStdString(d.messages[m_messages].title) + "] "
                + QString::fromStdString(d.messages[m_messages].text) + "\n";
        for (; m_modals < d.modalNames.size(); ++m_modals)
            m_out += "  dialog shown " + d.modalNames[m_modals] + "\n";
        if (m_fixture->window && m_fixture->window->windowTitle() != m_title) {
            m_title = m_fixture->window->windowTitle();
            m_out += "  title " + test::quoted(m_title) + "\n";
        }
    }

    // The channels that differ (from 1), or what else differs.
    static QString changedChannels(const model::RadioImage& before, const model::RadioImage& after)
    {
        QString out;
        for (std::size_t i = 0; i < before.channels.size(); ++i)
            if (before.channels[i] != after.channels[i]) out += QString(" ch%1").arg(i + 1);
        if (before.settings != after.settings || before.modelIndex != after.modelIndex) out += " settings";
        return out.isEmpty() ? QString(" nothing") : out;
    }

    // The undo and redo entries as the Edit menu shows them.
    QString editEntries() const
    {
        QString out;
        for (const char* name : { "mnuUndo", "mnuRedo" }) {
            const QAction* entry = m_fixture->window->action(name);
            out += (out.isEmpty() ? "" : " / ") + entry->text() + (entry->isEnabled() ? "" : " (off)");
        }
        return out;
    }

    // The image's bytes: model, settings, channels `first` to `last`, and when `all` the other records.
    void image(int first, int last, bool all)
    {
        const auto& image = m_fixture->window->image();
        m_out += QString("  model %1 unknown code %2\n  settings %3\n")
                     .arg(image.modelIndex)
                     .arg(image.unknownModelCode)
                     .arg(QString::fromStdString(test::hex(image.settings)));
        for (auto i = static_cast<std::size_t>(first - 1); i < static_cast<std::size_t>(last); ++i)
            m_out += QString("  ch%1 %2\n").arg(i + 1, 2).arg(QString::fromStdString(test::hex(image.channels[i])));
        for (std::size_t i = 0; all && i < image.parameters.size(); ++i)
            m_out += QString("  p%1 %2\n").arg(i).arg(QString::fromStdString(test::hex(image.parameters[i])));
        for (std::size_t i = 0; all && i < image.alignment.size(); ++i)
            m_out += QString("  a%1 %2\n").arg(i).arg(QString::fromStdString(test::hex(image.alignment[i])));
    }

    void state()
    {
        const auto& s = m_fixture->window->state();
        m_out += QString("  port COM%1 of %2, password %3, file %4, 5kHz %5, busy %6, loaded %7\n")
                     .arg(s.portNumber)
                     .arg(s.portCount)
                     .arg(test::quoted(s.password), test::quoted(s.currentFile))
                     .arg(s.fiveKhzForm)
                     .arg(s.readBusy)
                     .arg(s.loadComplete);
        for (int i = 0; i <= s.recent.newest(); ++i)
            m_out += QString("  recent %1 %2%3\n")
                         .arg(i)
                         .arg(test::quoted(s.recent.caption(i)))
                         .arg(s.recent.checked(i) ? " checked" : "");
    }

    // What the radio heard since the last look, from its own log.
    void heard()
    {
        // The radio logs as it goes: wait until its log has been quiet for a moment.
        QFileInfo log(m_fixture->path("radio.log"));
        for (qint64 size = -1, quiet = 0, tries = 0; quiet < 5 && tries < 80; ++tries) {
            QTest::qWait(60);
            log.refresh();
            quiet = log.size() == size ? quiet + 1 : 0;
            size = log.size();
        }
        QFile file(m_fixture->path("radio.log"));
        if (!file.open(QIODevice::ReadOnly)) return;
        const QStringList lines = QString::fromUtf8(file.readAll()).split('\n', Qt::SkipEmptyParts);
        for (; m_heard < lines.size(); ++m_heard) {
            const QString& l = lines[m_heard];
            if (const auto at = l.indexOf(" <- "); at >= 0)
                m_out += "  radio <- " + l.mid(at + 4).trimmed() + "\n";
            else if (const auto note = l.indexOf("-- "); note >= 0)
                m_out += "  radio " + l.mid(note) + "\n";
        }
    }

    std::unique_ptr<test::WindowFixture> m_fixture = std::make_unique<test::WindowFixture>();
    std::unique_ptr<test::SimRadio> m_sim;
    QWidget* m_root = nullptr;
    QString m_out;
    QString m_title;
    std::size_t m_messages = 0, m_questions = 0, m_requests = 0, m_modals = 0;
    qsizetype m_heard = 0;
    int m_screen = 0;
    QMap<QString, QByteArray> m_env;
};

} // namespace

class ScenarioTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { app::installFontSubstitutions(); }

    void scenario_data()
    {
        QTest::addColumn<QString>("name");
        const QDir folder(QString(KORVANE_TEST_DATA) + "/app");
        for (const QString& file : folder.entryList({ KORVANE_SCENARIOS }, QDir::Files, QDir::Name))
            QTest::newRow(qPrintable(file)) << file.chopped(6);
    }

    void scenario()
    {
        QFETCH(QString, name);
        const QString steps = QString::fromStdString(test::dataFile("app/" + name.toStdString() + ".steps"));
        const std::string produced = Scenario().run(expanded(steps.split('\n'))).toStdString();
        const std::string expected = test::expectedFile("app/" + name.toStdString() + ".txt", produced);
        const std::string difference = test::goldenDifference(expected, produced);
        if (!difference.empty()) QFAIL(qPrintable(name + ".txt: " + QString::fromStdString(difference)));
    }
};

QTEST_MAIN(ScenarioTest)
#include "scenario_test.moc"
