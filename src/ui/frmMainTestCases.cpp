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

#include "services/FailureExplanation.h"
#include "services/Judging.h"
#include "services/OjCases.h"
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

// Answers as 输入数据 holds them: one a line.
QString answerText(const std::vector<std::u16string>& answers)
{
    QStringList lines;
    for (const std::u16string& answer : answers) lines << toQString(answer);
    return lines.join(u'\n');
}

// The sentence under a failed case, and the answers 在这一刻暂停 types.
template <typename Case, typename Result>
CaseExplanation explanationOf(std::u16string_view text, const Case& failed, const Result& result,
                              std::int64_t maxStatements)
{
    const CaseFailureNote note = caseFailureNote(text, failed, result, maxStatements);
    return {toQString(note.text), note.pauseAfter, answerText(caseAnswers(failed))};
}

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
    const std::filesystem::path folder(testCaseFolder().toStdU16String());
    if (holdsAnsFile(folder)) {
        runJudgeData(folder);
        return;
    }
    const CaseFolder cases = readCaseFolder(folder);
    if (cases.problem) {
        m_dialogs.showMessage(this, MessageIcon::Warning, title,
                              toQString(cases.problem->text()) + QStringLiteral("没有运行任何用例。"));
        return;
    }
    if (cases.cases.empty()) {
        m_dialogs.showMessage(this, MessageIcon::Warning, title,
                              QStringLiteral("没有找到测试用例：文件夹 %1 中没有 .out 文件。每个测试用例是 NAME.out"
                                             "（期望的控制台输出）和可选的 NAME.in（INPUT 的答案，每行一个）。")
                                  .arg(QDir::toNativeSeparators(testCaseFolder())));
        return;
    }
    const std::u16string text = crLfText(*ui->txtSource);
    runCasesShown(QFileInfo(CurrentFile).fileName(), cases.cases.size(), [&](std::size_t index, const KeepGoing& keepGoing) {
        const std::variant<TestCase, CaseFileProblem> read = readCase(cases.cases[index]);
        if (const auto* problem = std::get_if<CaseFileProblem>(&read)) {
            m_dialogs.showMessage(this, MessageIcon::Warning, title,
                                  toQString(problem->text()) + QStringLiteral("这个用例和后面的用例没有运行。"));
            return std::optional<bool>();
        }
        m_testResults->caseStarting(static_cast<int>(index), toQString(cases.cases[index].name));
        QCoreApplication::processEvents();
        const std::optional<CaseResult> result = m_controller.runAlone([&] {
            return runCase(text, std::get<TestCase>(read), kCaseStatementLimit, kCaseOutputLimit, keepGoing);
        });
        if (!result) return std::optional<bool>();
        m_testResults->addResult(*result, explanationOf(text, std::get<TestCase>(read), *result, kCaseStatementLimit));
        return std::optional<bool>(result->verdict == CaseVerdict::Passed);
    });
}

// A folder holding a NAME.ans is judge data: its cases are judged as online
// judges judge them (INPUT takes the next word, only PRINT is compared).
void frmMain::runJudgeData(const std::filesystem::path& folder)
{
    std::variant<std::vector<JudgeCase>, std::u16string> read = readOjCases(folder);
    if (const auto* problem = std::get_if<std::u16string>(&read)) {
        m_dialogs.showMessage(this, MessageIcon::Warning, QStringLiteral("运行测试"),
                              toQString(*problem) + QStringLiteral("没有运行任何用例。"));
        return;
    }
    judgeCasesShown(QFileInfo(CurrentFile).fileName(), crLfText(*ui->txtSource),
                    std::get<std::vector<JudgeCase>>(read));
}

void frmMain::judgeCasesShown(const QString& program, const std::u16string& text, const std::vector<JudgeCase>& cases)
{
    const std::optional<RunOutcome> notTranslated = compileError(text);
    runCasesShown(program, cases.size(), [&](std::size_t index, const KeepGoing&) {
        const JudgeCase& judged = cases[index];
        m_testResults->caseStarting(static_cast<int>(index), toQString(judged.name));
        QCoreApplication::processEvents();
        const std::optional<JudgedRun> run = m_controller.runAlone([&] {
            if (notTranslated) return JudgedRun{compileErrorResult(judged, *notTranslated), {}};
            return judgeRun(text, judged);
        });
        if (!run) return std::optional<bool>();
        m_testResults->addJudgedResult(shownCaseResult(judged, *run), run->result,
                                       explanationOf(text, judged, run->result, kJudgeStatementLimit));
        return std::optional<bool>(run->result.verdict == Verdict::AC);
    });
}

// The cases run one after another inside the command's handler, shown in
// the results window, until one of them says to stop (nothing instead of
// whether it passed), 停止 is pressed or the IDE closes.
void frmMain::runCasesShown(const QString& program, std::size_t count, const CaseRunner& runOne)
{
    setRunning(true);
    m_runningTests = true;
    if (!m_testResults) {
        m_testResults = new TestResultsDialog(this, m_zoom);
        // The program's keys work over the results too (Ctrl+F2 stops the cases).
        m_testResults->addActions({ui->mnuStart, ui->mnuDebug, ui->mnuFileSave, ui->mnuRunStop});
        connect(m_testResults, &TestResultsDialog::pauseRequested, this, &frmMain::pauseCaseAt);
    }
    TestResultsDialog& results = *m_testResults;
    results.begin(program, static_cast<int>(count));
    results.show();
    results.raise();
    QElapsedTimer sinceEvents;
    sinceEvents.start();
    const KeepGoing keepGoing = [&] {
        if (sinceEvents.hasExpired(kEventIntervalMs)) {
            QCoreApplication::processEvents();
            sinceEvents.start();
        }
        return !results.stopRequested() && !m_closeAfterRun;
    };
    std::size_t run = 0;
    std::size_t passed = 0;
    for (; run < count && keepGoing(); ++run) {
        const std::optional<bool> casePassed = runOne(run, keepGoing);
        if (!casePassed) break;
        if (*casePassed) ++passed;
    }
    results.end(run, passed);
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

// The last run's answers become NAME.in (when it asked for any) and what
// its PRINT statements wrote NAME.ans: judge data, the form online judges
// and `tarnik-cli test` read, which a teacher can upload as it is. A folder
// of console-output cases (NAME.out, made before) keeps that form. Either
// both files are written or neither: a NAME.in left alone would turn into a
// case.
void frmMain::mnuRunCreateTestCase_Click()
{
    const QString title = QStringLiteral("创建测试用例");
    if (m_controller.running() || !programHasAFile(title)) return;
    const QString name = askNewCaseName(title);
    if (name.isEmpty()) return;
    const QDir folder(testCaseFolder());
    const QStringList answers = m_result->answersGiven();
    const std::filesystem::path folderPath(folder.path().toStdU16String());
    const bool consoleCases = !holdsAnsFile(folderPath) && !readCaseFolder(folderPath).cases.empty();
    const QString inPath = folder.filePath(name + QStringLiteral(".in"));
    FileWriteResult written{true, {}};
    if (QFileInfo(folder.path()).isSymLink() || !folder.mkpath(QStringLiteral("."))) {
        written = {false, QStringLiteral("文件夹无法建立，或者它是一个链接")};
    }
    if (written && !answers.isEmpty()) {
        written = writeFileChecked(inPath, (answers.join(QLatin1Char('\n')) + QLatin1Char('\n')).toUtf8());
    }
    if (written) {
        const QString expectedPath = folder.filePath(name + (consoleCases ? QStringLiteral(".out") : QStringLiteral(".ans")));
        written = writeFileChecked(expectedPath, (consoleCases ? m_result->outputText() : judgedOutput(answers)).toUtf8());
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

// What the program's PRINT statements write for these answers, LF line
// ends: the run is repeated as a judge runs it (runs are deterministic).
QString frmMain::judgedOutput(const QStringList& answers)
{
    JudgeCase answered;
    answered.input = answers.join(QLatin1Char('\n')).toStdU16String();
    return toQString(judgeRun(crLfText(*ui->txtSource), answered).output).replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
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
    } else if (folder.exists(name + QStringLiteral(".out")) || folder.exists(name + QStringLiteral(".ans")) ||
               folder.exists(name + QStringLiteral(".in"))) {
        problem = QStringLiteral("已经有名为“%1”的测试用例。").arg(name);
    }
    if (problem.isEmpty()) return name;
    m_dialogs.showMessage(this, MessageIcon::Warning, command, problem + QStringLiteral("没有创建测试用例，请换一个名称。"));
    return {};
}

// One window for the session: it keeps the last class's results while the
// editor is used.
void frmMain::mnuRunGrade_Click()
{
    if (!m_grading) {
        m_grading = new GradingWindow(m_dialogs, this);
        connect(m_grading, &GradingWindow::caseChosen, this, &frmMain::openGradedCase);
    }
    m_grading->show();
    m_grading->raise();
    m_grading->activateWindow();
}

// 在这一刻暂停: the case's answers go to 输入数据 and a Debug run goes
// freely to the statement that wrote the first wrong line, pausing just
// before it with the record behind it (后退 works at once).
void frmMain::pauseCaseAt(const QString& answers, qint64 steps)
{
    if (m_controller.running()) return;
    m_inputData->setAnswers(answers);
    m_inputData->show();
    m_controller.runToStep(steps);
    runEditorProgram(RunMode::Stepping);
}

// A cell of 批量评测: the student's program as a new document, the case's
// input words as the answers to type, and the case judged again as 运行测试
// shows it, so the comparison sits beside the program.
void frmMain::openGradedCase(const QString& student, const QString& programText, const JudgeCase& judgeCase)
{
    if (m_controller.running() || !settleUnsavedChanges()) return;
    openUnsavedText(programText.toStdU16String());
    m_inputData->setAnswers(answerText(caseAnswers(judgeCase)));
    m_inputData->show();
    judgeCasesShown(student, programText.toStdU16String(), {judgeCase});
}

}  // namespace tarnik
