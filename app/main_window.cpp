#include "app/main_window.h"

#include "app/channel_view.h"
#include "app/content_scroller.h"
#include "app/focus_keeper.h"
#include "app/help_commands.h"
#include "app/input_rules.h"
#include "app/link_runner.h"
#include "app/port_dialog.h"
#include "app/report/print_command.h"
#include "app/screen_fit.h"
#include "app/settings_lists.h"
#include "app/toolbar_icons.h"
#include "app/twips.h"
#include "core/files/settings_file.h"
#include "core/model/defaults.h"
#include "core/model/models.h"

#include <QCloseEvent>
#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QMenuBar>
#include "app/edit_commands.h"
#include <QScreen>
#include <QStatusBar>
#include <QTimer>

namespace korvane::app {

namespace {

constexpr int kWindowWidth = 800;
constexpr int kWindowHeight = 600;
// How far the channel frame sits below the top of the frames, as a share of the window's designed
// height: the model frame fills that band (less a small gap) above it.
constexpr double kChannelFrameTopShare = 0.148;

QAction* addEntry(QMenu* menu, const QString& name, const QString& caption)
{
    QAction* action = menu->addAction(caption);
    action->setObjectName(name);
    return action;
}

QAction* addSeparator(QMenu* menu, const QString& name)
{
    QAction* separator = menu->addSeparator();
    separator->setObjectName(name);
    return separator;
}

} // namespace

MainWindow::MainWindow(UserDialogs& dialogs, MainWindowOptions options, QWidget* parent)
    : QMainWindow(parent), m_dialogs(dialogs), m_options(std::move(options))
{
    setObjectName("mainFrm");
    setAcceptDrops(true);
    setWindowTitle(title());
    buildMenus();
    buildToolBar();
    buildStatusBar();
    buildContent();

    resize(kWindowWidth, kWindowHeight);
    fitOnScreen(*this); // the content scrolls, as in any smaller window
    m_recordedScreenWidth = currentScreenWidth();

    const files::StoredSettings stored = files::readSettingsFile(m_options.settingsPath.toStdString());
    m_state.portNumber = stored.port;
    m_state.device = QString::fromStdString(stored.device);
    m_state.portMap = m_options.portMap;
    m_state.password = QString::fromStdString(stored.password);

    layoutWindow();
    connect(&m_document, &ImageDocument::replaced, this, &MainWindow::showReplacedImage);
    m_document.startFresh([this](model::RadioImage& image) {
        model::resetImage(image);
        refreshFromImage();
    });
    m_state.portCount = m_options.probePorts ? m_options.probePorts() : 0;

    m_fraChanFunc->show();
    action("mnuPass")->setVisible(false);
    m_state.currentFile.clear();
    m_state.loadComplete = true;
}

MainWindow::~MainWindow() = default;

QAction* MainWindow::action(const QString& name) const { return findChild<QAction*>(name); }

void MainWindow::buildMenus()
{
    QMenu* file = menuBar()->addMenu(QStringLiteral("文件(&F)"));
    file->setObjectName("mnuFile");
    QAction* openEntry = addEntry(file, "mnuOpen", QStringLiteral("打开(&O)"));
    openEntry->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_O));
    connect(openEntry, &QAction::triggered, this, &MainWindow::open);
    QAction* saveEntry = addEntry(file, "mnuSave", QStringLiteral("另存(&S)"));
    saveEntry->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_S));
    connect(saveEntry, &QAction::triggered, this, &MainWindow::save);
    connect(addEntry(file, "mnuExportCsv", QStringLiteral("导出CSV(&E)...")), &QAction::triggered, this,
        &MainWindow::exportCsv);
    connect(addEntry(file, "mnuImportCsv", QStringLiteral("导入CSV(&I)...")), &QAction::triggered, this,
        &MainWindow::importCsv);
    connect(addEntry(file, "mnuCompare", QStringLiteral("比较(&C)...")), &QAction::triggered, this,
        &MainWindow::compareWithFile);
    connect(addEntry(file, "mnuCompareRadio", QStringLiteral("读取对讲机比较(&R)")), &QAction::triggered, this,
        &MainWindow::compareWithRadio);
    addSeparator(file, "null0");
    QAction* printEntry = addEntry(file, "mnuPrint", QStringLiteral("打印(&P)"));
    printEntry->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_P));
    connect(printEntry, &QAction::triggered, this, [this] { mnuPrintClick(*this); });
    m_mnuNULL = addSeparator(file, "mnuNULL");
    m_mnuNULL->setVisible(false);
    for (int i = 0; i < 4; ++i) {
        m_mnuFileMRU[i] = addEntry(file, "mnuFileMRU", QString());
        m_mnuFileMRU[i]->setProperty("index", i);
        m_mnuFileMRU[i]->setCheckable(true);
        m_mnuFileMRU[i]->setVisible(false);
        connect(m_mnuFileMRU[i], &QAction::triggered, this, [this, i] {
            showRecentEntries(); // a click must not toggle the check mark by itself
            if (m_edits->confirmDiscard()) openFile(m_state.recent.path(i), i);
        });
    }
    addSeparator(file, "null2");
    QAction* exitEntry = addEntry(file, "mnuExit", QStringLiteral("退出(&X)"));
    exitEntry->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q));
    connect(exitEntry, &QAction::triggered, this, &QWidget::close);

    QMenu* program = menuBar()->addMenu(QStringLiteral("编程(&P)"));
    program->setObjectName("mnuProgram");
    QAction* readEntry = addEntry(program, "mnuRead", QStringLiteral("读频(&R)"));
    readEntry->setShortcut(QKeySequence(Qt::Key_F5));
    connect(readEntry, &QAction::triggered, this, &MainWindow::readRadio);
    QAction* writeEntry = addEntry(program, "mnuWrite", QStringLiteral("写频(&W)"));
    writeEntry->setShortcut(QKeySequence(Qt::Key_F6));
    connect(writeEntry, &QAction::triggered, this, &MainWindow::writeRadio);
    connect(addEntry(program, "mnuWriteVerify", QStringLiteral("写频并校验(&V)")), &QAction::triggered, this,
        &MainWindow::writeAndVerify);
    connect(addEntry(program, "mnuFleet", QStringLiteral("批量写频(&B)...")), &QAction::triggered, this,
        &MainWindow::writeFleet);

    QMenu* editor = menuBar()->addMenu(QStringLiteral("编辑(&E)"));
    editor->setObjectName("mnuEditor");
    QAction* chan = addEntry(editor, "mnuChan", QStringLiteral("信道数据(&H)"));
    chan->setCheckable(true);
    chan->setChecked(true);
    addEntry(editor, "mnuTune", QStringLiteral("调整模式(&T)"))->setCheckable(true);
    addEntry(editor, "mnuPass", QStringLiteral("调整模式密码(&D)"));
    m_edits = new EditCommands(*this, editor);

    QMenu* com = menuBar()->addMenu(QStringLiteral("端口选择(&C)"));
    com->setObjectName("mnuCom");
    connect(addEntry(com, "mnuPort", QStringLiteral("选择端口(&P)")), &QAction::triggered, this, &MainWindow::choosePort);

    QMenu* help = menuBar()->addMenu(QStringLiteral("帮助(&H)"));
    help->setObjectName("mnuHelp");
    auto* helpCommands = new HelpCommands(*this, m_dialogs);
    connect(addEntry(help, "mnuContent", QStringLiteral("目录(&C)...")), &QAction::triggered, helpCommands,
        &HelpCommands::showContents);
    connect(addEntry(help, "mnuIndex", QStringLiteral("索引(&I)...")), &QAction::triggered, helpCommands,
        &HelpCommands::showIndex);
    connect(addEntry(help, "mnuAbout", QStringLiteral("关于(&A)")), &QAction::triggered, helpCommands,
        &HelpCommands::showAbout);
}

void MainWindow::buildToolBar()
{
    m_toolBar = addToolBar(QStringLiteral("tbToolBar"));
    m_toolBar->setObjectName("tbToolBar");
    m_toolBar->setMovable(false);
    m_toolBar->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    m_toolBar->setIconSize(QSize(24, 24));
    // Nine buttons, four of them separators: Print is the fifth.
    const std::pair<QString, QString> buttons[] = {
        { "", "" }, { "Open", QStringLiteral("打开") }, { "Save", QStringLiteral("另存") },
        { "", "" }, { "Print", QStringLiteral("打印") }, { "", "" },
        { "Read", QStringLiteral("读频") }, { "Write", QStringLiteral("写频") }, { "", "" },
    };
    for (const auto& [key, caption] : buttons) {
        if (key.isEmpty()) {
            m_toolBar->addSeparator();
            continue;
        }
        QAction* button = m_toolBar->addAction(toolbarIcon(key), caption);
        button->setObjectName("tb" + key);
        button->setData(key);
        connect(button, &QAction::triggered, this, [this, key] { runToolbarKey(key); });
    }
    m_toolBar->installEventFilter(this);
}

void MainWindow::runToolbarKey(const QString& key)
{
    for (const char* name : { "Open", "Save", "Print", "Read", "Write" }) {
        if (key == name) {
            action(QString("mnu") + name)->trigger();
            return;
        }
    }
}

void MainWindow::buildStatusBar()
{
    QStatusBar* bar = statusBar();
    bar->setObjectName("sbStatusBar");
    auto* titlePanel = new QLabel(title(), bar);
    auto* datePanel = new QLabel(bar);
    auto* timePanel = new QLabel(bar);
    datePanel->setObjectName("sbDate");
    timePanel->setObjectName("sbTime");
    bar->addWidget(titlePanel, 1);
    bar->addPermanentWidget(datePanel);
    bar->addPermanentWidget(timePanel);
    const auto tick = [datePanel, timePanel] {
        const QDateTime now = QDateTime::currentDateTime();
        datePanel->setText(now.toString("yyyy-MM-dd"));
        timePanel->setText(now.toString("HH:mm:ss"));
    };
    tick();
    auto* clock = new QTimer(this);
    connect(clock, &QTimer::timeout, this, tick);
    clock->start(1000);
}

void MainWindow::buildContent()
{
    m_content = new ContentArea(this);
    setCentralWidget(m_content);
    QWidget* frame1 = m_content->frame();

    m_command1 = new QPushButton(m_content);
    m_command1->setObjectName("Command1");
    m_command1->setGeometry(-20, -20, 1, 1); // never seen, only ever takes the focus
    m_command1->setFocusPolicy(Qt::StrongFocus);

    m_fraChanFunc = new QWidget(frame1);
    m_fraChanFunc->setObjectName("fraChanFunc");
    keepFocusAcrossHiding(m_fraChanFunc);

    auto* model = new QGroupBox(QStringLiteral("机型选择"), m_fraChanFunc);
    model->setObjectName("fraModel");
    m_fraModel = model;
    auto* modelLabel = new QLabel(QStringLiteral("机型："), model);
    modelLabel->setObjectName("lblRadiomodel");
    m_cboRadiomodel = new QComboBox(model);
    m_cboRadiomodel->setObjectName("cboRadiomodel");
    for (std::string_view entry : model::modelEntries())
        m_cboRadiomodel->addItem(QString::fromUtf8(entry.data(), static_cast<int>(entry.size())));
    m_cboRadiomodel->setCurrentIndex(-1);
    connect(m_cboRadiomodel, &QComboBox::activated, this, &MainWindow::modelChange);
    wheelOnlyWithFocus(m_cboRadiomodel);
    auto* bandCaption = new QLabel(QStringLiteral("频率："), model);
    m_lblBandvalue = new QLabel(model);
    m_lblBandvalue->setObjectName("lblBandvalue");
    // One row, centred in whatever height the frame is given.
    auto* modelRow = new QHBoxLayout(model);
    modelRow->addWidget(modelLabel);
    modelRow->addWidget(m_cboRadiomodel);
    modelRow->addSpacing(32);
    modelRow->addWidget(bandCaption);
    modelRow->addWidget(m_lblBandvalue);
    modelRow->addStretch();
    m_cboRadiomodel->setMinimumWidth(200);

    m_channelView = new ChannelView(m_document, m_fraChanFunc);
    m_settingsLists = new SettingsLists(m_document, m_fraChanFunc);
    m_channelView->spacingIs25 = [this] { return m_settingsLists->spacingIs25(); };
    buildEditors();
    buildAlignment();
    m_settingsLists->onNarrowAll = [this] {
        const bool shown = m_fraChanFunc->isVisible();
        m_fraChanFunc->setVisible(false);
        m_channelView->applyNarrowToAll();
        m_fraChanFunc->setVisible(shown);
    };

    // A click on the background or on a frame ends an open edit, as leaving it would.
    for (QWidget* w : std::initializer_list<QWidget*> { m_content, frame1, m_fraChanFunc, model, m_channelView,
                                                        m_settingsLists->functionFrame(), m_settingsLists->scanFrame() })
        w->installEventFilter(this);
}

void MainWindow::layoutWindow()
{
    const long widthTwips = twipsX(this, kWindowWidth);
    const long heightTwips = twipsY(this, kWindowHeight);
    m_channelView->layoutChannelGrid(widthTwips, heightTwips);
    placeEntryBoxes(false);
    placeFrames();
}

void MainWindow::placeFrames()
{
    const int chanTop
        = pxY(this, roundHalfEven(kChannelFrameTopShare * static_cast<double>(twipsY(this, kWindowHeight))));
    const int width = m_channelView->width();
    m_fraModel->setGeometry(0, 0, width, chanTop - 6);
    m_channelView->move(0, chanTop);
    const int listsTop = chanTop + m_channelView->height() + 6;
    QGroupBox* function = m_settingsLists->functionFrame();
    QGroupBox* scan = m_settingsLists->scanFrame();
    // Side by side under the grid, sharing its width in proportion to what their lists need, so
    // that no entry is cut off; wider than the grid only when the lists need it.
    const int functionNeeds = function->sizeHint().width();
    const int scanNeeds = scan->sizeHint().width();
    const int listsWidth = std::max(width - 6, functionNeeds + scanNeeds);
    const int functionWidth = listsWidth * functionNeeds / (functionNeeds + scanNeeds);
    function->setGeometry(0, listsTop, functionWidth, function->sizeHint().height());
    scan->setGeometry(functionWidth + 6, listsTop, listsWidth - functionWidth, scan->sizeHint().height());
    const int height = listsTop + std::max(function->height(), scan->height());
    const int totalWidth = std::max(width, listsWidth + 6);
    // Narrow margins: at the standard size only the vertical bar is needed.
    constexpr int kMargin = 4;
    m_fraChanFunc->setGeometry(kMargin, pxY(this, 120), totalWidth, height);
    m_content->frame()->resize(totalWidth + 2 * kMargin, m_fraChanFunc->y() + height + pxY(this, 200));
    m_content->updateBars();
}

int MainWindow::currentScreenWidth() const
{
    if (m_options.screenWidth)
        return m_options.screenWidth();
    const QScreen* s = screen();
    return s ? s->geometry().width() : 0;
}

void MainWindow::refreshFromImage()
{
    const bool shown = m_fraChanFunc->isVisible();
    m_cboRadiomodel->setCurrentIndex(m_image.modelIndex >= 0 && m_image.modelIndex < model::kModelCount
                                         ? m_image.modelIndex
                                         : -1);
    modelChange();
    m_settingsLists->showSettings();
    m_fraChanFunc->setVisible(false);
    m_channelView->showChannels();
    hideTransmitBox();
    refreshAlignment();
    m_fraChanFunc->setVisible(shown);
}

// A file whose model code names no model has no band: the label is empty, never the band of the
// image shown before.
void MainWindow::showBandText()
{
    const auto band = model::bandText(m_image.modelIndex);
    m_lblBandvalue->setText(band ? QString::fromUtf8(band->data(), static_cast<int>(band->size())) : QString());
}

void MainWindow::modelChange()
{
    const int selected = m_cboRadiomodel->currentIndex();
    const bool differs = selected != m_image.modelIndex;
    showBandText();
    if (differs && selected >= 0) {
        const util::Message question { "选择不同的机型将改变目前设置的所有数据，是否真的改变机型？", "选择不同机型",
                                       util::MessageIcon::Exclamation, {} };
        if (!m_dialogs.askYesNo(this, question)) {
            m_cboRadiomodel->setCurrentIndex(m_image.modelIndex);
            modelChange();
            m_cboRadiomodel->setFocus();
            return;
        }
        m_document.edit([this, selected](model::RadioImage& image) {
            image.modelIndex = static_cast<std::int16_t>(selected);
            const bool shown = m_fraChanFunc->isVisible();
            m_fraChanFunc->setVisible(false);
            showBandText();
            model::resetImage(image);
            refreshFromImage();
            m_fraChanFunc->setVisible(shown);
        });
        setWindowTitle(title());
        m_cboRadiomodel->setFocus();
    }
    m_cboRadiomodel->setToolTip(m_cboRadiomodel->currentText());
}

void MainWindow::choosePort()
{
    // The dialog looks for the ports again as it opens: a cable plugged in since start-up counts.
    PortDialog dialog(m_dialogs, m_options.makePort, m_options.portMap, m_options.probePorts, this);
    dialog.setComi(m_state.portNumber);
    dialog.setXComi(m_state.portCount);
    dialog.setDevice(m_state.device);
    m_dialogs.runModal(dialog);
    if (dialog.portsFound() >= 0)
        m_state.portCount = dialog.portsFound();
    if (!dialog.cancelPressed()) {
        m_state.portNumber = dialog.comi();
        m_state.device = dialog.device();
    }
}

void MainWindow::focusSink() { m_command1->setFocus(Qt::OtherFocusReason); }

bool MainWindow::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::MouseButtonPress)
        focusSink();
    return QMainWindow::eventFilter(watched, event);
}

void MainWindow::closeEvent(QCloseEvent* event)
{
    if (m_link && m_link->busy()) {
        event->ignore(); // the radio is being read or programmed
        return;
    }
    if (!m_edits->confirmDiscard()) {
        event->ignore();
        return;
    }
    if (alignmentItemOpen())
        cancelAlignmentItem();
    const QString path = m_options.settingsPath;
    if (!path.isEmpty()) {
        QDir().mkpath(QFileInfo(path).absolutePath());
        files::writeSettingsFile(path.toStdString(), m_state.portNumber, m_state.currentFile.toStdString(),
                                 m_state.password.toStdString(), m_state.device.toStdString());
    }
    event->accept();
}

void MainWindow::resizeEvent(QResizeEvent* event)
{
    QMainWindow::resizeEvent(event);
    const int screenWidth = currentScreenWidth();
    if (!m_state.loadComplete || screenWidth == m_recordedScreenWidth)
        return;
    // The screen's resolution changed: lay the window out again for the new pixel size. The new
    // width is noted first, so the resize below does not start this again.
    m_recordedScreenWidth = screenWidth;
    resize(kWindowWidth, kWindowHeight);
    fitOnScreen(*this); // the content scrolls, as in any smaller window
    m_channelView->relayoutChannelGrid(twipsX(this, kWindowWidth), twipsY(this, kWindowHeight));
    placeEntryBoxes(true);
    placeFrames();
}

} // namespace korvane::app
