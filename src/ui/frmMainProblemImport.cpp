// 文件 → 导入题目: one problem of an FPS file (the XML in which online
// judges exchange problem sets) becomes the program's test cases, written as
// judge data (NAME.in + NAME.ans) into the folder 运行测试 reads, under the
// names judging gives them (样例1…, then 1, 2…).
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <filesystem>

#include "services/OjCases.h"
#include "ui/Dialogs.h"
#include "ui/EditorText.h"
#include "ui/frmMain.h"
#include "ui/storage/CheckedFileWriter.h"

namespace tarnik {
namespace {

const QString kImportTitle = QStringLiteral("导入题目");

QString problemItem(std::size_t index, const FpsProblem& problem)
{
    const QString title = problem.title.empty() ? QStringLiteral("（没有标题）") : toQString(problem.title);
    return QStringLiteral("%1. %2（%3 个用例）").arg(index + 1).arg(title).arg(problem.samples.size() + problem.tests.size());
}

// The files of a case folder that a case is made of.
QStringList caseFilesIn(const QDir& folder)
{
    return folder.entryList({QStringLiteral("*.in"), QStringLiteral("*.out"), QStringLiteral("*.ans")},
                            QDir::Files | QDir::System | QDir::Hidden, QDir::Name);
}

}  // namespace

void frmMain::mnuFileImportProblem_Click()
{
    if (m_controller.running() || !programHasAFile(kImportTitle)) return;
    const QString xml = m_dialogs.openFileName(this, kImportTitle, QStringLiteral("题目文件 (*.xml);;所有文件 (*)"));
    if (xml.isEmpty()) return;
    const FpsFile file = readFpsFile(std::filesystem::path(xml.toStdU16String()));
    QString refused;
    if (file.problem) refused = toQString(*file.problem);
    else if (file.problems.empty()) refused = QStringLiteral("%1 中没有题目。").arg(QDir::toNativeSeparators(xml));
    if (!refused.isEmpty()) {
        m_dialogs.showMessage(this, MessageIcon::Warning, kImportTitle, refused + QStringLiteral("没有导入任何用例。"));
        return;
    }
    QStringList items;
    for (std::size_t i = 0; i < file.problems.size(); ++i) items << problemItem(i, file.problems[i]);
    const std::optional<qsizetype> chosen =
        m_dialogs.chooseItem(this, kImportTitle, QStringLiteral("选择要导入的题目（%1 道）：").arg(items.size()), items);
    if (!chosen) return;
    const FpsProblem& problem = file.problems[static_cast<std::size_t>(*chosen)];
    const std::vector<JudgeCase> cases = fpsProblemCases(problem);
    if (cases.empty()) {
        m_dialogs.showMessage(this, MessageIcon::Warning, kImportTitle,
                              QStringLiteral("题目“%1”没有样例，也没有测试数据。没有导入任何用例。").arg(toQString(problem.title)));
        return;
    }
    const QDir folder(testCaseFolder());
    if (!makeRoomForImportedCases(folder)) return;
    const FileWriteResult written = writeImportedCases(folder, cases);
    if (!written) {
        m_dialogs.showMessage(this, MessageIcon::Critical, kImportTitle,
                              QStringLiteral("无法在 %1 中写入测试用例：%2。这次导入的文件已经删除。")
                                  .arg(QDir::toNativeSeparators(folder.path()), written.reason));
        return;
    }
    showStatus(QStringLiteral("已导入题目“%1”：%2 个测试用例，在 %3。用“运行测试”检查程序。")
                   .arg(toQString(problem.title))
                   .arg(cases.size())
                   .arg(QDir::toNativeSeparators(folder.path())));
}

// Cases already in the folder would mix with the problem's: they are
// replaced only when the user says so, and only the case files go.
bool frmMain::makeRoomForImportedCases(const QDir& folder)
{
    const QStringList existing = caseFilesIn(folder);
    if (existing.isEmpty()) return true;
    const qsizetype answer = m_dialogs.askChoice(
        this, kImportTitle,
        QStringLiteral("文件夹 %1 中已经有测试用例（%2 个文件）。导入会删除这些 .in、.out、.ans 文件，换成这道题的用例。")
            .arg(QDir::toNativeSeparators(folder.path()))
            .arg(existing.size()),
        {QStringLiteral("替换(&R)")});
    if (answer != 0) return false;
    for (const QString& name : existing) {
        if (QFile::remove(folder.filePath(name))) continue;
        m_dialogs.showMessage(this, MessageIcon::Critical, kImportTitle,
                              QStringLiteral("无法删除 %1，没有导入。文件夹中其余的用例没有改变。")
                                  .arg(QDir::toNativeSeparators(folder.filePath(name))));
        return false;
    }
    return true;
}

// Every file or none: on a failed write the files written so far are removed.
FileWriteResult frmMain::writeImportedCases(const QDir& folder, const std::vector<JudgeCase>& cases)
{
    if (QFileInfo(folder.path()).isSymLink() || !folder.mkpath(QStringLiteral("."))) {
        return {false, QStringLiteral("文件夹无法建立，或者它是一个链接")};
    }
    QStringList writtenFiles;
    const auto write = [&](const JudgeCase& judged, const QString& extension, const std::u16string& text) {
        const QString path = folder.filePath(toQString(judged.name) + extension);
        FileWriteResult written = writeFileChecked(path, toQString(text).toUtf8());
        if (written) writtenFiles << path;
        return written;
    };
    for (const JudgeCase& judged : cases) {
        FileWriteResult written{true, {}};
        if (!judged.input.empty()) written = write(judged, QStringLiteral(".in"), judged.input);
        if (written) written = write(judged, QStringLiteral(".ans"), judged.expected);
        if (written) continue;
        for (const QString& path : writtenFiles) QFile::remove(path);
        return written;
    }
    return {true, {}};
}

}  // namespace tarnik
