// 运行测试: the program checked against its test cases, kept beside it in
// the folder NAME.tests (NAME.out, with NAME.in for a program with INPUT),
// the folder `tarnik-cli test FILE DIR` reads.
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <filesystem>

#include "interp/TestCases.h"
#include "ui/Dialogs.h"
#include "ui/EditorText.h"
#include "ui/TestResultsDialog.h"
#include "ui/frmMain.h"
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
    if (CurrentFile.isEmpty()) {
        m_dialogs.showMessage(this, MessageIcon::Warning, title,
                              QStringLiteral("程序还没有保存。测试用例放在程序旁边的文件夹“程序名.tests”中，"
                                             "请先保存程序，再在那个文件夹中放入测试用例。"));
        return;
    }
    const QString folder = QDir::toNativeSeparators(testCaseFolder());
    const std::optional<std::vector<TestCase>> cases =
        readCaseFolder(std::filesystem::path(testCaseFolder().toStdU16String()));
    if (!cases || cases->empty()) {
        m_dialogs.showMessage(this, MessageIcon::Warning, title,
                              QStringLiteral("没有找到测试用例：文件夹 %1 中没有 .out 文件。每个测试用例是 NAME.out"
                                             "（期望的控制台输出）和可选的 NAME.in（INPUT 的答案，每行一个）。")
                                  .arg(folder));
        return;
    }
    setRunning(true);
    m_runningTests = true;
    runTestCases(*cases);
    m_runningTests = false;
    setRunning(false);
    if (m_closeAfterRun) {
        m_closeAfterRun = false;
        close();
    }
}

void frmMain::runTestCases(const std::vector<TestCase>& cases)
{
    if (!m_testResults) m_testResults = new TestResultsDialog(this);
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
    std::vector<CaseResult> done;
    for (std::size_t i = 0; i < cases.size() && keepGoing(); ++i) {
        results.caseStarting(static_cast<int>(i), toQString(cases[i].name));
        QCoreApplication::processEvents();
        std::optional<CaseResult> result = m_controller.runTestCase(text, cases[i], keepGoing);
        if (!result) break;
        results.addResult(*result, cases[i].expected);
        done.push_back(std::move(*result));
    }
    results.end(done);
}

}  // namespace tarnik
