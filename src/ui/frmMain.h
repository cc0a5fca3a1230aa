#pragma once
// The editor window: the program text, its file, the Start and Debug
// commands and the report of a run's error.
//
// The text model the run and the files see is CR LF separated; the widget
// keeps LF and EditorText converts at the boundary. A run executes inside the
// Start or Debug handler and yields to the event loop between statements, so
// every other command of this window can arrive in the middle of a run:
// Start and Debug are disabled then, and a close waits for the run to end.
//
// Unsaved text is kept in a recovery record (RecoveryStore) a few seconds
// after the last change, and at most a few more after the first unrecorded
// one however long the typing goes on; before each run and when a signal
// ends the IDE. A normal end, a save and a discard remove it.
#include <QFileSystemWatcher>
#include <QMainWindow>
#include <QPointer>
#include <QString>
#include <QTimer>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "expr/BasicError.h"
#include "interp/RunController.h"
#include "services/SourceText.h"
#include "ui/storage/DiskStamp.h"
#include "ui/editor/EditorEdits.h"
#include "ui/storage/RecoveryStore.h"
#include "ui/storage/RunHistory.h"
#include "ui/TextZoom.h"

class QAction;
class QDir;
class QKeyEvent;
class QLabel;
class QListWidget;
class QMenu;

namespace Ui {
class frmMain;
}

namespace tarnik {

class Announcer;
class Dialogs;
class EditorPauseMarks;
class FindBar;
class GradingWindow;
class InputDataPanel;
class RecentFiles;
class TestResultsDialog;
class WindowDock;
struct ErrorFacts;
struct JudgeCase;
class ReferenceWindow;
class frmAbout;
class frmResult;
class frmVars;
struct ProgramWarning;

class frmMain : public QMainWindow {
    Q_OBJECT

public:
    explicit frmMain(Dialogs& dialogs, QWidget* parent = nullptr);
    ~frmMain() override;

    // Start-up with a path on the command line: its file is loaded; a path
    // that names no file gives an empty text that Save will write there.
    void openCommandLineFile(const QString& path);
    // A text to edit as a new document with unsaved changes (read from
    // standard input at start-up, or a run from the history).
    void openUnsavedText(std::u16string_view text);
    // The end of start-up: offers the text that IDEs which are gone left
    // unsaved, unless the editor already holds unsaved text.
    void offerRecovery();
    // Start-up of an IDE opened for 全部恢复: the record in `folder`, without asking.
    void recoverFolder(const QString& folder);
    // For tests: from now on the periodic work (the title and line number,
    // the rewrite of lines the caret left, the look at the file on disk)
    // happens only when tick() is called, so that a test, not the machine's
    // load, decides when it runs.
    void stopTimersForTests();
    void tick();
    // The door into this window's runs (tests look into the paused run through it).
    [[nodiscard]] const RunController& runController() const { return m_controller; }
    // A signal has come: the caller leaves instead of going on.
    [[nodiscard]] bool endingOnSignal() const { return m_endingOnSignal; }

signals:
    // 全部恢复: a window holds one program, so this record is for another IDE
    // to open (tarnik --recover FOLDER). Nothing is lost when no one does.
    void recordForAnotherWindow(const QString& folder);

public slots:
    // A logout, shutdown or kill: keeps the unsaved text for the next start
    // and ends the IDE without asking (no one may be there to answer).
    void endOnSignal();

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private slots:
    void mnuFileNew_Click();
    void mnuFileOpen_Click();
    void mnuFileSave_Click();
    void mnuFileSaveAs_Click();
    void mnuFileExit_Click();
    void openRecentFile(const QString& path);
    void mnuViewToolbar_Click();
    void mnuViewStatusBar_Click();
    void mnuStart_Click();
    void mnuDebug_Click();
    void mnuRunStop_Click();
    void mnuRunTests_Click();
    void mnuRunCreateTestCase_Click();
    void mnuFileImportProblem_Click();
    void mnuRunGrade_Click();
    void mnuHelpAbout_Click();
    void mnuEditGoToLine_Click();
    void mnuEditReindent_Click();
    void mnuEditHalfWidth_Click(ConversionScope scope);
    void txtSource_Change();
    void Timer1_Timer();
    void Timer2_Timer();
    void showDateAndTime();

private:
    void connectCommands();
    void createFindBar();
    void createInputDataPanel();
    void createStatusPanels();
    void restorePlacement();
    void placeConsoleBesideEditor();
    void storePlacement();

    // The file commands' steps. The bool ones return false when nothing was
    // saved (cancelled or failed), which stops the command that asked.
    void ClearEditor();
    bool SaveFile();
    bool SaveFileAs();
    // Reads and decodes a file, in `encoding` when given; refuses what is no
    // text file and asks first about huge files and files that do not come
    // back exactly as they are.
    struct LoadedFile {
        DecodedSource source;
        DiskStamp stamp;
    };
    [[nodiscard]] std::optional<LoadedFile> FileRead(const QString& Filename,
                                                     std::optional<SourceEncoding> encoding = {});
    [[nodiscard]] bool mayReadFile(const QString& path);
    [[nodiscard]] bool mayOpenDecoded(const QString& path, const DecodedSource& source);
    bool FileWrite(const QString& Filename);
    // The bytes Save writes, after the questions a save may need; nothing when
    // the user cancels. `encoding` becomes the one the bytes are in.
    [[nodiscard]] std::optional<std::string> bytesToSave(const QString& path, SourceEncoding& encoding);
    void createEncodingMenus();
    void reopenInEncoding(SourceEncoding encoding);
    void chooseSaveEncoding(SourceEncoding encoding);
    void showFileFormat();
    // External changes (frmMainFiles.cpp): the open file is watched, and a
    // save over a file that changed since it was read asks first.
    [[nodiscard]] bool mayOverwrite(const QString& path);
    void reloadFromDisk();
    void watchCurrentFile();
    void checkFileOnDisk();
    // Asks whether to save unsaved changes; false when the user cancels, or
    // chose to save and nothing was saved.
    bool settleUnsavedChanges();
    void loadFile(const QString& path, const LoadedFile& file);
    void loadEditorText(std::u16string_view text);
    void showFileError(const QString& what, const QString& path, const QString& reason);
    // The recovery record (frmMainRecovery.cpp). keepRecoveryRecord writes
    // it when the text has unsaved changes, removes it otherwise; false when
    // a record could not be written.
    void setUpRecovery();
    void recordSoon();
    bool keepRecoveryRecord();
    void showRecoveryWriteResult(const FileWriteResult& written);
    [[nodiscard]] std::vector<RecoveryRecord> readLeftRecords(const std::vector<LeftRecord>& left);
    [[nodiscard]] bool mayReadLargeRecords(const std::vector<LeftRecord>& left);
    void offerRecord(const RecoveryRecord& record);
    // The folders of records to open in other windows.
    [[nodiscard]] QStringList offerRecordList(const std::vector<RecoveryRecord>& records);
    void recoverText(const RecoveryRecord& record);
    void ShowLineNumber();
    // Information that needs no answer, shown for a while in the status bar.
    void showStatus(const QString& text);

    // The editing aids (frmMainEditing.cpp). txtSource_KeyPress returns
    // true when it has handled the key itself.
    bool txtSource_KeyPress(const QKeyEvent& key);
    void txtSource_Click();
    void txtSource_MouseDown();
    void txtSource_MouseUp();
    void startIndentedLine();
    bool removeIndentStep();
    void undoOrRedo(bool undo);
    void showEditMenu(const QPoint& at);
    void holdRewriteOnCaretLine();
    [[nodiscard]] bool inputMethodComposing() const;
    void ReformatText();

    void runEditorProgram(RunMode mode);
    [[nodiscard]] ErrorFacts runErrorFacts(const RunOutcome& outcome) const;
    // Breakpoints from the gutter and 运行到光标处 (frmMainDebugging.cpp).
    void connectDebugging();
    void mnuRunToCursor_Click();
    void breakpointToggled(int line, bool on);
    void askBreakpointCondition(int line);
    // The test cases (frmMainTests.cpp): beside the program, in its NAME.tests folder.
    [[nodiscard]] QString testCaseFolder() const;
    using KeepGoing = std::function<bool()>;
    using CaseRunner = std::function<std::optional<bool>(std::size_t index, const KeepGoing& keepGoing)>;
    void runCasesShown(const QString& program, std::size_t count, const CaseRunner& runOne);
    void runJudgeData(const std::filesystem::path& folder);
    [[nodiscard]] bool makeRoomForImportedCases(const QDir& folder);
    [[nodiscard]] FileWriteResult writeImportedCases(const QDir& folder, const std::vector<JudgeCase>& cases);
    [[nodiscard]] QString judgedOutput(const QStringList& answers);
    void pauseCaseAt(const QString& answers, qint64 steps);
    void openGradedCase(const QString& student, const QString& programText, const JudgeCase& judgeCase);
    void judgeCasesShown(const QString& program, const std::u16string& text, const std::vector<JudgeCase>& cases);
    // False (after saying why) when the program has no file for its cases to sit beside.
    bool programHasAFile(const QString& command);
    // Asks for a new case's name; empty when cancelled or not usable.
    [[nodiscard]] QString askNewCaseName(const QString& command);
    void setRunning(bool running);
    void returnToEditor();
    void connectStandardEditCommands();
    void showReference(const QString& topic);
    void showRunError(const RunOutcome& outcome);
    void keepRunInHistory(RunRecord record, const RunOutcome& outcome);
    void fillRunHistoryMenu();
    void openAsNewDocument(const QString& text);  // CR LF between lines

    // 演示模式 and 主题 (frmMainView.cpp).
    void createViewCommands();
    void createPresentationCommands();
    void followPresentation();
    void createThemeMenu();

    // Screen readers (frmMainAccessibility.cpp).
    void createAccessibility();
    void createBreakpointCommands();
    void announceRunStart();
    void announceRunEnd(const RunOutcome& outcome);

    // 单窗口布局 (frmMainLayout.cpp).
    void createSingleWindowLayout();
    void setSingleWindow(bool on);
    void dockDebugger(frmVars& debugger);
    void storeDockPlaces();

    // The help commands (frmMainHelp.cpp).
    void createHelpCommands();
    void mnuHelpReference_Click();
    void fillExamplesMenu(QMenu& menu);
    void openExample(const QString& path);
    void createWarningList();
    void showWarnings(const clsCode& code, std::u16string_view text);
    void refreshWarnings();
    void listWarnings(const std::vector<ProgramWarning>& warnings);
    void placeCaretOnLine(int line, int column);  // from 1 and from 0, nothing selected

    std::unique_ptr<Ui::frmMain> ui;
    Dialogs& m_dialogs;
    RunController m_controller;
    TextZoom m_zoom;  // before the console, which follows it
    std::unique_ptr<frmResult> m_result;
    std::unique_ptr<EditorPauseMarks> m_pauseMarks;
    QPointer<frmAbout> m_about;
    QPointer<TestResultsDialog> m_testResults;
    QPointer<GradingWindow> m_grading;
    QPointer<ReferenceWindow> m_reference;
    QListWidget* m_warnings = nullptr;
    Announcer* m_announcer = nullptr;
    WindowDock* m_consoleDock = nullptr;
    WindowDock* m_debuggerDock = nullptr;
    WindowDock* m_recordDock = nullptr;
    QAction* m_singleWindow = nullptr;
    QTimer m_warningsDelay;  // after the last change, the list follows the text
    FindBar* m_findBar = nullptr;
    InputDataPanel* m_inputData = nullptr;
    RecentFiles* m_recentFiles = nullptr;
    QLabel* m_lineNumberPanel = nullptr;
    QLabel* m_columnPanel = nullptr;
    QLabel* m_datePanel = nullptr;
    QLabel* m_timePanel = nullptr;
    QTimer Timer1;
    QTimer Timer2;
    QTimer m_clock;
    QTimer m_recoveryDelay;     // after the last change
    QTimer m_recoveryDeadline;  // after the first unrecorded change
    RecoveryStore m_recovery;
    QLabel* m_recoveryWarning = nullptr;  // shown while records cannot be written
    bool m_endingOnSignal = false;
    RunHistory m_history;

    QString CurrentFile;
    bool Modified = false;
    std::int32_t CaretLine = 1;
    std::int32_t LastCaretLine = 0;  // the caret line of the last rewrite
    // How the file is written back; a file read with a loss asks before its first save.
    SourceEncoding m_encoding = SourceEncoding::Utf8;
    LineEnds m_lineEnds = LineEnds::CrLf;
    QString m_readLoss;  // why the file would not be written back as it was read
    QLabel* m_formatPanel = nullptr;
    QMenu* m_saveEncodingMenu = nullptr;
    DiskStamp m_diskStamp;  // CurrentFile as last read or written
    QFileSystemWatcher m_watcher;
    QTimer m_diskCheck;     // lets a burst of change signals settle into one check
    bool m_checkingDisk = false;

    bool m_closeAfterRun = false;
    bool m_runningTests = false;  // also between two cases, when no run is in progress
    bool m_stoppedByUser = false;  // 停止 ended the run in progress
    bool m_exiting = false;  // Exit has settled the changes; close without asking again
};

}  // namespace tarnik
