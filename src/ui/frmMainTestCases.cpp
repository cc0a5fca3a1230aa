// 运行测试: the program checked against its test cases, kept beside it in
// the folder NAME.tests (NAME.out, with NAME.in for a program with INPUT),
// the folder `tarnik-cli test FILE DIR` reads; a case can also be made from
// the last run.
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <filesystem>
#include <variant>

#include "services/TestCases.h"
#include "ui/storage/CheckedFileWriter.h"
#include "ui/Dialogs.h"
#include "ui/EditorText.h"
#include "ui/run/GradingWindow.h"
#include "ui/run/InputDataPanel.h"
#include "ui/run/TestResultsDialog.h"
#include "ui/frmMain.h"
#include "ui/run/frmResult.h"
#include "ui_frmMain.h"

namespace tarnik {
namespace {

// A case runs inside the command's handler; its window stays responsive
// (the 停止 button, the progress) by processing events this often.
constexpr qint64 kEventIntervalMs = 50;

}  // namespace

QString frmMain::testCaseFolder() const
{
    const QFileInfo program(CurrentFile);
    return program.dir().filePath(program.completeBaseName() + QStringLiteral(".tests"));
}

void frmMain::mnuRunTests_Click()
{
    if (m_controller.running()) return;
    const QString title = QStringLiteral("运行测试");
    if (!programHasAFile(title)) return;
    const QString folder = QDir::toNativeSeparators(testCaseFolder());
    const CaseFolder cases = readCaseFolder(std::filesystem::path(testCaseFolder().toStdU16String()));
    if (cases.problem) {
        m_dialogs.showMessage(this, MessageIcon::Warning, title,
                              toQString(cases.problem->text()) + QStringLiteral("没有运行任何用例。"));
        return;
    }
    if (cases.cases.empty()) {
        m_dialogs.showMessage(this, MessageIcon::Warning, title,
                              QStringLiteral("没有找到测试用例：文件夹 %1 中没有 .out 文件。每个测试用例是 NAME.out"
                                             "（期望的控制台输出）和可选的 NAME.in（INPUT 的答案，每行一个）。")
                                  .arg(folder));
        return;
    }
    setRunning(true);
    m_runningTests = true;
    runTestCases(cases.cases);
    m_runningTests = false;
    setRunning(false);
    if (m_closeAfterRun) {
        m_closeAfterRun = false;
        close();
    }
}

bool frmMain::programHasAFile(const QString& command)
{
    if (!CurrentFile.isEmpty()) return true;
    m_dialogs.showMessage(this, MessageIcon::Warning, command,
                          QStringLiteral("程序还没有保存。测试用例放在程序旁边的文件夹“程序名.tests”中，"
                                         "请先保存程序。"));
    return false;
}

// The last run's answers become NAME.in (when it asked for any) and its
// console output NAME.out, in the form `tarnik-cli test` reads. Either both
// are written or neither: a NAME.in left alone would turn into a case.
void frmMain::mnuRunCreateTestCase_Click()
{
    const QString title = QStringLiteral("创建测试用例");
    if (m_controller.running() || !programHasAFile(title)) return;
    const QString name = askNewCaseName(title);
    if (name.isEmpty()) return;
    const QDir folder(testCaseFolder());
    const QStringList answers = m_result->answersGiven();
    const QString inPath = folder.filePath(name + QStringLiteral(".in"));
    FileWriteResult written{true, {}};
    if (QFileInfo(folder.path()).isSymLink() || !folder.mkpath(QStringLiteral("."))) {
        written = {false, QStringLiteral("文件夹无法建立，或者它是一个链接")};
    }
    if (written && !answers.isEmpty()) {
        written = writeFileChecked(inPath, (answers.join(QLatin1Char('\n')) + QLatin1Char('\n')).toUtf8());
    }
    if (written) {
        written = writeFileChecked(folder.filePath(name + QStringLiteral(".out")), m_result->outputText().toUtf8());
        if (!written && !answers.isEmpty()) QFile::remove(inPath);
    }
    if (!written) {
        m_dialogs.showMessage(this, MessageIcon::Critical, title,
                              QStringLiteral("无法在 %1 中写入测试用例 %2：%3。程序和已有的测试用例没有改变。")
                                  .arg(QDir::toNativeSeparators(folder.path()), name, written.reason));
        return;
    }
    showStatus(QStringLiteral("已创建测试用例 %1（%2）。").arg(name, QDir::toNativeSeparators(folder.path())));
}

QString frmMain::askNewCaseName(const QString& command)
{
    const std::optional<QString> typed = m_dialogs.inputText(
        this, command, {QStringLiteral("测试用例的名称（用作文件名）："), QString(), false, {}});
    const QString name = typed ? typed->trimmed() : QString();
    if (name.isEmpty()) return {};
    const QDir folder(testCaseFolder());
    QString problem;
    if (name.contains(QLatin1Char('/')) || name.contains(QLatin1Char('\\')) || name.startsWith(QLatin1Char('.'))) {
        problem = QStringLiteral("名称“%1”不能用作文件名。").arg(name);
    } else if (folder.exists(name + QStringLiteral(".out")) || folder.exists(name + QStringLiteral(".in"))) {
        problem = QStringLiteral("已经有名为“%1”的测试用例。").arg(name);
    }
    if (problem.isEmpty()) return name;
    m_dialogs.showMessage(this, MessageIcon::Warning, command, problem + QStringLiteral("没有创建测试用例，请换一个名称。"));
    return {};
}

// Each case is read just before it runs, and of its result only what the
// window shows is kept.
void frmMain::runTestCases(const std::vector<CaseFiles>& cases)
{
    if (!m_testResults) {
        m_testResults = new TestResultsDialog(this, m_zoom);
        // The program's keys work over the results too (Ctrl+F2 stops the cases).
        m_testResults->addActions({ui->mnuStart, ui->mnuDebug, ui->mnuFileSave, ui->mnuRunStop});
    }
    TestResultsDialog& results = *m_testResults;
    results.begin(QFileInfo(CurrentFile).fileName(), static_cast<int>(cases.size()));
    results.show();
    results.raise();
    QElapsedTimer sinceEvents;
    sinceEvents.start();
    const auto keepGoing = [&] {
        if (sinceEvents.hasExpired(kEventIntervalMs)) {
            QCoreApplication::processEvents();
            sinceEvents.start();
        }
        return !results.stopRequested() && !m_closeAfterRun;
    };
    const std::u16string text = crLfText(*ui->txtSource);
    std::size_t run = 0;
    std::size_t passed = 0;
    for (; run < cases.size() && keepGoing(); ++run) {
        const std::variant<TestCase, CaseFileProblem> read = readCase(cases[run]);
        if (const auto* problem = std::get_if<CaseFileProblem>(&read)) {
            m_dialogs.showMessage(this, MessageIcon::Warning, QStringLiteral("运行测试"),
                                  toQString(problem->text()) + QStringLiteral("这个用例和后面的用例没有运行。"));
            break;
        }
        results.caseStarting(static_cast<int>(run), toQString(cases[run].name));
        QCoreApplication::processEvents();
        const std::optional<CaseResult> result = m_controller.runAlone([&] {
            return runCase(text, std::get<TestCase>(read), kCaseStatementLimit, kCaseOutputLimit, keepGoing);
        });
        if (!result) break;
        results.addResult(*result);
        if (result->verdict == CaseVerdict::Passed) ++passed;
    }
    results.end(run, passed);
}

// One window for the session: it keeps the last class's results while the
// editor is used.
void frmMain::mnuRunGrade_Click()
{
    if (!m_grading) {
        m_grading = new GradingWindow(m_dialogs, this);
        connect(m_grading, &GradingWindow::caseChosen, this, [this](const QString& program, const QString& answers) {
            if (!settleUnsavedChanges()) return;
            openUnsavedText(program.toStdU16String());
            m_inputData->setAnswers(answers);
            m_inputData->show();
        });
    }
    m_grading->show();
    m_grading->raise();
    m_grading->activateWindow();
}

}  // namespace tarnik
