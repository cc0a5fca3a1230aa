#include "ui/frmMain.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDate>
#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QIcon>
#include <QLabel>
#include <QListWidget>
#include <QLocale>
#include <QMenu>
#include <QScreen>
#include <QTextBlock>
#include <QTime>
#include <QWindow>
#include <algorithm>
#include <utility>

#include "services/help/ErrorHelp.h"
#include "interp/ErrorReport.h"
#include "interp/RunController.h"
#include "ui/Dialogs.h"
#include "ui/editor/EditorPauseMarks.h"
#include "ui/EditorText.h"
#include "ui/editor/FindBar.h"
#include "ui/run/InputDataPanel.h"
#include "ui/storage/RecentFiles.h"
#include "ui/editor/SourceEditor.h"
#include "ui/frmAbout.h"
#include "ui/Twips.h"
#include "ui/run/TestResultsDialog.h"
#include "ui/run/frmResult.h"
#include "ui/storage/TarnikSettings.h"
#include "ui_frmMain.h"

// Resources compiled into a static library are linked only when referenced.
static void initResources()
{
    Q_INIT_RESOURCE(tarnik);
}

namespace tarnik {
namespace {

constexpr int kTimer1IntervalMs = 100;
constexpr int kTimer2IntervalMs = 50;
constexpr int kRefocusDelayMs = 150;
constexpr int kClockIntervalMs = 1000;
constexpr int kConsoleGap = 12;
constexpr int kStatusMessageMs = 10000;
constexpr int kDiskSettleMs = 200;

const QString kSettingsGroup = QStringLiteral("Settings");
struct PlacementKey {
    const char* name;
    int defaultTwips;
};
constexpr PlacementKey kLeft{"MainLeft", 1000};
constexpr PlacementKey kTop{"MainTop", 1000};
constexpr PlacementKey kWidth{"MainWidth", 6500};
constexpr PlacementKey kHeight{"MainHeight", 6500};

// The error box's 帮助: the explanation of the error's row, then what the
// translator and the line itself tell beyond it.
QString runErrorHelp(const RunOutcome& outcome, std::u16string_view editorText)
{
    const ErrorText* row = errorRowOf(*outcome.error);
    if (!row) return {};
    std::u16string help = explanationText(*row);
    const std::u16string context = errorContextText(outcome, editorText);
    if (!context.empty()) help += u"\n" + context;
    return toQString(help);
}

// A stored place may lie on a screen that is gone (a second monitor taken
// away, a projector unplugged): a window whose title bar cannot be reached
// comes back whole onto the main screen.
QRect onAnAvailableScreen(const QRect& wanted)
{
    constexpr int kReachable = 120;  // pixels of title bar a mouse can take hold of
    const QRect titleBar(wanted.topLeft(), QSize(wanted.width(), kReachable / 4));
    for (const QScreen* screen : QGuiApplication::screens()) {
        const QRect seen = screen->availableGeometry().intersected(titleBar);
        if (seen.width() >= kReachable && seen.height() == titleBar.height()) return wanted;
    }
    const QScreen* main = QGuiApplication::primaryScreen();
    if (main == nullptr) return wanted;
    const QRect area = main->availableGeometry();
    QRect placed(QPoint(), wanted.size().boundedTo(area.size()));
    placed.moveCenter(area.center());
    return placed;
}

}  // namespace

frmMain::frmMain(Dialogs& dialogs, QWidget* parent)
    : QMainWindow(parent), ui(std::make_unique<Ui::frmMain>()), m_dialogs(dialogs),
      m_result(std::make_unique<frmResult>(dialogs, m_controller, m_zoom)), m_recovery(RecoveryStore::defaultRoot()),
      m_history(RunHistory::defaultPath())
{
    initResources();
    ui->setupUi(this);
    setWindowIcon(QIcon(QStringLiteral(":/icons/tarnik.svg")));
    m_zoom.attach(*ui->txtSource);
    m_pauseMarks = std::make_unique<EditorPauseMarks>(*ui->txtSource, m_controller);
    m_controller.setPauseWatcher(m_pauseMarks.get());
    // The toolbar's own menu would hide it behind the View menu's back.
    setContextMenuPolicy(Qt::PreventContextMenu);
    createStatusPanels();
    createFindBar();
    createInputDataPanel();
    createHelpCommands();
    createWarningList();
    m_recentFiles = new RecentFiles(*ui->mnuFile, *ui->mnuFileExit);
    createEncodingMenus();
    showFileFormat();
    connectCommands();
    createViewCommands();
    createAccessibility();
    restorePlacement();
    placeConsoleBesideEditor();
    // The console belongs to this window: a click into a maximised editor
    // or an error box does not bury it (window managers keep it above).
    winId();
    m_result->winId();
    m_result->windowHandle()->setTransientParent(windowHandle());
    createSingleWindowLayout();

    // Where to start, on an empty page.
    ui->txtSource->setPlaceholderText(QStringLiteral("输入 Print \"你好\"，再按 F9 运行"));
    ui->txtSource->installEventFilter(this);
    ui->txtSource->viewport()->installEventFilter(this);
    Timer1.start(kTimer1IntervalMs);
    Timer2.start(kTimer2IntervalMs);
    m_clock.start(kClockIntervalMs);
    setUpRecovery();
    showDateAndTime();
    Timer1_Timer();
}

frmMain::~frmMain() = default;

// The timers keep running, so that what stops and starts them (a held mouse
// button holds the rewrite) still does, but they no longer come round.
void frmMain::stopTimersForTests()
{
    constexpr int kNever = 24 * 60 * 60 * 1000;
    Timer1.setInterval(kNever);
    Timer2.setInterval(kNever);
}

void frmMain::tick()
{
    if (Timer1.isActive()) Timer1_Timer();
    if (Timer2.isActive()) Timer2_Timer();
    checkFileOnDisk();
}

void frmMain::connectCommands()
{
    connect(ui->mnuFileNew, &QAction::triggered, this, &frmMain::mnuFileNew_Click);
    connect(ui->mnuFileClose, &QAction::triggered, this, &frmMain::mnuFileNew_Click);
    connect(ui->mnuFileOpen, &QAction::triggered, this, &frmMain::mnuFileOpen_Click);
    connect(ui->mnuFileSave, &QAction::triggered, this, &frmMain::mnuFileSave_Click);
    connect(ui->mnuFileSaveAs, &QAction::triggered, this, &frmMain::mnuFileSaveAs_Click);
    connect(ui->mnuFileImportProblem, &QAction::triggered, this, &frmMain::mnuFileImportProblem_Click);
    connect(ui->mnuFileExit, &QAction::triggered, this, &frmMain::mnuFileExit_Click);
    connect(m_recentFiles, &RecentFiles::chosen, this, &frmMain::openRecentFile);
    connect(ui->mnuViewToolbar, &QAction::triggered, this, &frmMain::mnuViewToolbar_Click);
    connect(ui->mnuViewStatusBar, &QAction::triggered, this, &frmMain::mnuViewStatusBar_Click);
    connect(ui->mnuViewConsole, &QAction::triggered, m_result.get(), &frmResult::showConsole);
    connectStandardEditCommands();
    connect(ui->mnuRunStop, &QAction::triggered, this, &frmMain::mnuRunStop_Click);
    connect(ui->tbStop, &QAction::triggered, this, &frmMain::mnuRunStop_Click);
    // The program's keys work in the console too.
    m_result->addActions({ui->mnuStart, ui->mnuDebug, ui->mnuFileSave, ui->mnuRunStop});
    connect(ui->mnuStart, &QAction::triggered, this, &frmMain::mnuStart_Click);
    connect(ui->mnuDebug, &QAction::triggered, this, &frmMain::mnuDebug_Click);
    connect(ui->mnuRunTests, &QAction::triggered, this, &frmMain::mnuRunTests_Click);
    connect(ui->mnuRunCreateTestCase, &QAction::triggered, this, &frmMain::mnuRunCreateTestCase_Click);
    connect(ui->mnuRunGrade, &QAction::triggered, this, &frmMain::mnuRunGrade_Click);
    connect(ui->mnuHelpAbout, &QAction::triggered, this, &frmMain::mnuHelpAbout_Click);
    connect(ui->mnuRunHistory, &QMenu::aboutToShow, this, &frmMain::fillRunHistoryMenu);
    m_zoom.connectCommands(*ui->mnuViewZoomIn, *ui->mnuViewZoomOut, *ui->mnuViewZoomOriginal);

    connect(ui->tbFileNew, &QAction::triggered, this, &frmMain::mnuFileNew_Click);
    connect(ui->tbFileOpen, &QAction::triggered, this, &frmMain::mnuFileOpen_Click);
    connect(ui->tbFileSave, &QAction::triggered, this, &frmMain::mnuFileSave_Click);
    connect(ui->tbStart, &QAction::triggered, this, &frmMain::mnuStart_Click);
    connect(ui->tbDebug, &QAction::triggered, this, &frmMain::mnuDebug_Click);
    connectDebugging();

    connect(ui->txtSource, &SourceEditor::edited, this, &frmMain::txtSource_Change);
    connect(&Timer1, &QTimer::timeout, this, &frmMain::Timer1_Timer);
    connect(&Timer2, &QTimer::timeout, this, &frmMain::Timer2_Timer);
    connect(&m_clock, &QTimer::timeout, this, &frmMain::showDateAndTime);
    // Writers often change a file in several steps; look once they are done.
    m_diskCheck.setSingleShot(true);
    m_diskCheck.setInterval(kDiskSettleMs);
    connect(&m_watcher, &QFileSystemWatcher::fileChanged, &m_diskCheck, qOverload<>(&QTimer::start));
    connect(&m_watcher, &QFileSystemWatcher::directoryChanged, &m_diskCheck, qOverload<>(&QTimer::start));
    connect(&m_diskCheck, &QTimer::timeout, this, &frmMain::checkFileOnDisk);
}

// 撤销 ... 全选 act on the program whichever pane has the focus; an open
// input method composition lands where it was typed first.
void frmMain::connectStandardEditCommands()
{
    ui->mnuEditRedo->setShortcuts({QKeySequence(Qt::CTRL | Qt::Key_Y), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)});
    connect(ui->mnuEditUndo, &QAction::triggered, this, [this] { undoOrRedo(true); });
    connect(ui->mnuEditRedo, &QAction::triggered, this, [this] { undoOrRedo(false); });
    SourceEditor* editor = ui->txtSource;
    const std::pair<QAction*, void (QPlainTextEdit::*)()> commands[] = {
        {ui->mnuEditCut, &QPlainTextEdit::cut},
        {ui->mnuEditCopy, &QPlainTextEdit::copy},
        {ui->mnuEditPaste, &QPlainTextEdit::paste},
        {ui->mnuEditSelectAll, &QPlainTextEdit::selectAll},
    };
    for (const auto& [command, edit] : commands) {
        connect(command, &QAction::triggered, editor, [editor, edit] {
            editor->commitComposition();
            (editor->*edit)();
            editor->setFocus();
        });
    }
    connect(editor, &QPlainTextEdit::undoAvailable, ui->mnuEditUndo, &QAction::setEnabled);
    connect(editor, &QPlainTextEdit::redoAvailable, ui->mnuEditRedo, &QAction::setEnabled);
    connect(editor, &QPlainTextEdit::copyAvailable, ui->mnuEditCut, &QAction::setEnabled);
    connect(editor, &QPlainTextEdit::copyAvailable, ui->mnuEditCopy, &QAction::setEnabled);
}

void frmMain::createFindBar()
{
    m_findBar = new FindBar(*ui->txtSource, ui->centralwidget);
    ui->centralLayout->addWidget(m_findBar);
    connect(ui->mnuEditFind, &QAction::triggered, m_findBar, &FindBar::openFind);
    connect(ui->mnuEditReplace, &QAction::triggered, m_findBar, &FindBar::openReplace);
    connect(ui->mnuEditFindNext, &QAction::triggered, m_findBar, &FindBar::findNext);
    connect(ui->mnuEditFindPrevious, &QAction::triggered, m_findBar, &FindBar::findPrevious);
    connect(ui->mnuEditGoToLine, &QAction::triggered, this, &frmMain::mnuEditGoToLine_Click);
    connect(ui->mnuEditReindent, &QAction::triggered, this, &frmMain::mnuEditReindent_Click);
    for (auto [command, scope] : {std::pair{ui->mnuEditHalfWidthLine, ConversionScope::CaretLine},
                                  std::pair{ui->mnuEditHalfWidthSelection, ConversionScope::Selection},
                                  std::pair{ui->mnuEditHalfWidthProgram, ConversionScope::Program}}) {
        connect(command, &QAction::triggered, this, [this, scope] { mnuEditHalfWidth_Click(scope); });
    }
}

// Beside the editor, hidden until the user asks for it from 视图 or 运行.
void frmMain::createInputDataPanel()
{
    m_inputData = new InputDataPanel(this, m_zoom);
    addDockWidget(Qt::RightDockWidgetArea, m_inputData);
    m_inputData->hide();
    ui->mnuView->insertAction(ui->mnuViewConsole, m_inputData->toggleViewAction());
    ui->mnuRun->insertAction(ui->mnuRunHistory->menuAction(), m_inputData->toggleViewAction());
    ui->mnuRun->insertSeparator(ui->mnuRunHistory->menuAction());
}

// The line-number panel takes the free width; the column, date and time sit
// at the right.
void frmMain::createStatusPanels()
{
    m_lineNumberPanel = new QLabel(QStringLiteral("状态"), this);
    m_lineNumberPanel->setObjectName(QStringLiteral("sbLineNumber"));
    m_columnPanel = new QLabel(this);
    m_columnPanel->setObjectName(QStringLiteral("sbColumn"));
    m_datePanel = new QLabel(this);
    m_datePanel->setObjectName(QStringLiteral("sbDate"));
    m_timePanel = new QLabel(this);
    m_timePanel->setObjectName(QStringLiteral("sbTime"));
    m_formatPanel = new QLabel(this);
    m_formatPanel->setObjectName(QStringLiteral("sbFileFormat"));
    // The caret's place stays together at the right; messages use the left.
    ui->sbStatusBar->addPermanentWidget(m_lineNumberPanel);
    ui->sbStatusBar->addPermanentWidget(m_columnPanel);
    ui->sbStatusBar->addPermanentWidget(m_formatPanel);
    ui->sbStatusBar->addPermanentWidget(m_datePanel);
    ui->sbStatusBar->addPermanentWidget(m_timePanel);
}

// ---- placement -------------------------------------------------------------

void frmMain::restorePlacement()
{
    QSettings settings = tarnikSettings();
    settings.beginGroup(kSettingsGroup);
    // A value that is missing or not a number gives the default.
    auto pixels = [&settings](PlacementKey key) {
        bool isNumber = false;
        int twips = settings.value(QLatin1String(key.name)).toString().toInt(&isNumber);
        return (isNumber ? twips : key.defaultTwips) / kTwipsPerPixel;  // whole pixels, cut off
    };
    const QRect placed = onAnAvailableScreen(QRect(pixels(kLeft), pixels(kTop), pixels(kWidth), pixels(kHeight)));
    move(placed.topLeft());
    resize(placed.size());
}

void frmMain::storePlacement()
{
    QSettings settings = tarnikSettings();
    settings.beginGroup(kSettingsGroup);
    auto store = [&settings](PlacementKey key, int pixels) {
        settings.setValue(QLatin1String(key.name), QString::number(twipsFromPixels(pixels)));
    };
    store(kLeft, x());
    store(kTop, y());
    store(kWidth, width());
    store(kHeight, height());
}

// The console opens to the right of the editor when the screen has room
// there, so that the program and its output can be seen together.
void frmMain::placeConsoleBesideEditor()
{
    const QScreen* screen = QGuiApplication::screenAt(pos());
    if (!screen) return;
    const QPoint besideEditor(x() + width() + kConsoleGap, y());
    if (screen->availableGeometry().contains(QRect(besideEditor, m_result->size()))) m_result->move(besideEditor);
}

// ---- closing ---------------------------------------------------------------

void frmMain::closeEvent(QCloseEvent* event)
{
    if (m_controller.running() || m_runningTests) {
        // Closing the console (which hides it, and closes the debugger
        // window of a paused run) ends the run at its next statement, and a
        // test-case run stops; the handler that started the run closes this
        // window again when it has returned.
        m_closeAfterRun = true;
        m_result->close();
        event->ignore();
        return;
    }
    if (!m_exiting && !settleUnsavedChanges()) {
        event->ignore();
        return;
    }
    // Exit leaves the stored placement as it was; only the close box stores it.
    if (!m_exiting && !isMinimized()) storePlacement();
    m_exiting = false;
    m_recovery.remove();
    m_result->hide();
    delete m_about;
    event->accept();
}

// ---- view ------------------------------------------------------------------

void frmMain::mnuViewToolbar_Click()
{
    ui->tbToolBar->setVisible(ui->mnuViewToolbar->isChecked());
}

void frmMain::mnuViewStatusBar_Click()
{
    ui->sbStatusBar->setVisible(ui->mnuViewStatusBar->isChecked());
}

void frmMain::mnuHelpAbout_Click()
{
    if (!m_about) m_about = new frmAbout(this);
    m_about->showFadingIn();
}

// ---- editor state ----------------------------------------------------------

void frmMain::txtSource_Change()
{
    Modified = true;
    recordSoon();
}

void frmMain::Timer1_Timer()
{
    QString title = QStringLiteral("[") + (CurrentFile.isEmpty() ? QStringLiteral("新文件") : CurrentFile);
    if (Modified) title += QStringLiteral(" *");
    setWindowTitle(title + QStringLiteral("] - Tarnik"));
    // The file commands change CurrentFile; the panel catches up here, as the title does.
    m_inputData->followProgram(CurrentFile);
    ShowLineNumber();
}

// The caret's line is one more than the line breaks before the caret (the
// start of a selection); in the widget each line is a block. The column, one
// more than the characters before that point in its line, names the same
// point.
void frmMain::ShowLineNumber()
{
    const QTextCursor caret = ui->txtSource->textCursor();
    const QTextBlock line = caret.document()->findBlock(caret.selectionStart());
    CaretLine = line.blockNumber() + 1;
    m_lineNumberPanel->setText(QStringLiteral("当前行号：%1").arg(CaretLine));
    m_columnPanel->setText(QStringLiteral("当前列号：%1").arg(caret.selectionStart() - line.position() + 1));
}

void frmMain::showStatus(const QString& text)
{
    ui->sbStatusBar->showMessage(text, kStatusMessageMs);
}

void frmMain::showDateAndTime()
{
    const QLocale locale;
    m_datePanel->setText(locale.toString(QDate::currentDate(), QLocale::ShortFormat));
    m_timePanel->setText(locale.toString(QTime::currentTime(), QStringLiteral("HH:mm")));
}

// ---- runs ------------------------------------------------------------------

void frmMain::mnuStart_Click()
{
    runEditorProgram(RunMode::Free);
}

void frmMain::mnuDebug_Click()
{
    runEditorProgram(RunMode::Stepping);
}

void frmMain::runEditorProgram(RunMode mode)
{
    // The run yields to the event loop between statements; the controller
    // refuses a second Start reaching us there.
    if (m_controller.running()) return;
    keepRecoveryRecord();
    setRunning(true);
    m_inputData->followProgram(CurrentFile);
    m_result->setPreparedAnswers(m_inputData->isHidden() ? std::deque<QString>() : m_inputData->answers());
    const std::u16string text = crLfText(*ui->txtSource);
    RunRecord record{toQString(text), CurrentFile, QDateTime::currentDateTime(), {}};
    m_warnings->clear();
    m_warnings->hide();
    m_controller.setStartBreakpoints(ui->txtSource->breakpoints());
    announceRunStart();
    const std::optional<RunOutcome> outcome =
        m_controller.start(text, *m_result, mode, [&](const clsCode& code) { showWarnings(code, text); });
    setRunning(false);
    if (outcome) keepRunInHistory(std::move(record), *outcome);
    if (outcome) announceRunEnd(*outcome);
    if (std::exchange(m_stoppedByUser, false)) {
        // Shown again, but the keys stay with the editor.
        m_result->setAttribute(Qt::WA_ShowWithoutActivating);
        m_result->show();
        m_result->setAttribute(Qt::WA_ShowWithoutActivating, false);
        showStatus(QStringLiteral("程序已停止。"));
    }
    if (m_closeAfterRun) {
        m_closeAfterRun = false;
        close();
        return;
    }
    if (outcome && outcome->error) showRunError(*outcome);
    returnToEditor();
}

// The keys act on the program again (F9, Ctrl+S), and the console stays in
// view above the editor with what the run printed.
void frmMain::returnToEditor()
{
    if (m_result->isVisible()) m_result->raise();
    activateWindow();
    ui->txtSource->setFocus();
    // A console shown again just now may take the focus when the window
    // manager maps it, after this: take it back once that has happened.
    QTimer::singleShot(kRefocusDelayMs, this, [this] {
        if (m_controller.running() || QApplication::activeModalWidget() != nullptr) return;
        activateWindow();
        ui->txtSource->setFocus();
    });
}

// Another IDE may have added runs since this one last looked: the file is
// read again first, so that only the oldest runs drop out.
void frmMain::keepRunInHistory(RunRecord record, const RunOutcome& outcome)
{
    record.outcome = RunHistory::describeOutcome(outcome);
    m_history.load();
    m_history.add(std::move(record));
    if (const FileWriteResult saved = m_history.save(); !saved) {
        showStatus(QStringLiteral("无法写入运行历史 %1：%2。这次运行没有记下。")
                       .arg(QDir::toNativeSeparators(RunHistory::defaultPath()), saved.reason));
    }
}

// One item per run, newest first: when, which file, how it ended.
void frmMain::fillRunHistoryMenu()
{
    ui->mnuRunHistory->clear();
    m_history.load();
    if (m_history.records().empty()) {
        ui->mnuRunHistory->addAction(QStringLiteral("（还没有运行过程序）"))->setEnabled(false);
        return;
    }
    const QLocale locale;
    for (const RunRecord& record : m_history.records()) {
        const QString file =
            record.file.isEmpty() ? QStringLiteral("新文件") : QFileInfo(record.file).fileName();
        const QString label = QStringLiteral("%1  %2  %3")
                                  .arg(locale.toString(record.started, QStringLiteral("MM-dd HH:mm:ss")), file,
                                       record.outcome);
        QAction* item = ui->mnuRunHistory->addAction(label);
        item->setToolTip(QDir::toNativeSeparators(record.file));
        connect(item, &QAction::triggered, this, [this, text = record.text] { openAsNewDocument(text); });
    }
}

// A run's text or an example opens as a new document: saving it never
// overwrites the file it came from without the user choosing that file.
void frmMain::openAsNewDocument(const QString& text)
{
    if (settleUnsavedChanges()) openUnsavedText(text.toStdU16String());
}

void frmMain::setRunning(bool running)
{
    for (QAction* command :
         {ui->mnuStart, ui->mnuDebug, ui->mnuRunTests, ui->mnuRunCreateTestCase, ui->tbStart, ui->tbDebug}) {
        command->setEnabled(!running);
    }
    ui->mnuRunStop->setEnabled(running);
    ui->tbStop->setEnabled(running);
}

// A hidden console ends the run before its next statement, or closes the
// INPUT box that waits; stopped from here, the console comes back afterwards
// with what the program printed.
void frmMain::mnuRunStop_Click()
{
    if (m_runningTests) {
        if (m_testResults) m_testResults->stop();
        return;
    }
    if (!m_controller.running()) return;
    m_stoppedByUser = true;
    m_result->hide();
}

// Selects the error's line in the present text, which the user may have
// edited while the program ran. Below the error's own line the box says
// what more is known; the gutter marks where a block left open begins, and
// the warnings list shows what it finds even in a text that does not
// translate.
// What the run knew when it stopped (a divisor's value and where it came
// from), found by replaying it with its answers: only after a run short
// enough that the replay goes unnoticed.
ErrorFacts frmMain::runErrorFacts(const RunOutcome& outcome) const
{
    constexpr std::int64_t kReplayedStatements = 3'000'000;
    if (!outcome.error || m_controller.shownStep() > kReplayedStatements) return {};
    std::vector<std::u16string> answers;
    for (const QString& answer : m_result->answersGiven()) answers.push_back(answer.toStdU16String());
    return factsForError(outcome, m_controller.source(), answers);
}

void frmMain::showRunError(const RunOutcome& outcome)
{
    const std::u16string text = crLfText(*ui->txtSource);
    const ErrorReport report = makeErrorReport(*outcome.error, outcome.line, text);
    refreshWarnings();
    if (const std::u16string blockNote = errorBoxBlockNote(outcome); blockNote.empty()) {
        ui->txtSource->clearUnclosedBlock();
    } else {
        ui->txtSource->markUnclosedBlock(outcome.unclosed.openingLine, toQString(blockNote));
    }
    QString boxText = toQString(report.text);
    if (const std::u16string details = errorBoxDetails(outcome, text, runErrorFacts(outcome)); !details.empty()) {
        boxText += QLatin1Char('\n') + toQString(details);
    }
    m_dialogs.showRunError(this, toQString(report.title), boxText, runErrorHelp(outcome, text));

    QTextCursor selection = ui->txtSource->textCursor();
    const int end = selection.document()->characterCount() - 1;
    const int start = std::min(report.selectionStartSingleBreaks, end);
    selection.setPosition(start);
    selection.setPosition(std::min(start + report.selectionLength, end), QTextCursor::KeepAnchor);
    ui->txtSource->setTextCursor(selection);
    activateWindow();
    ui->txtSource->setFocus();
    ui->txtSource->ensureCursorVisible();
}

}  // namespace tarnik
