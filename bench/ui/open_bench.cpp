// Times how long opening a 20 MB file keeps the editor window from answering
// before the question about its size appears, and how long the whole open
// takes when the user says yes; and the whole open of the largest file that
// opens without a question.
// Runs on the offscreen platform unless QT_QPA_PLATFORM says otherwise.
//   open_bench
#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <cstdio>

#include "ui/Dialogs.h"
#include "ui/frmMain.h"

namespace {

constexpr qint64 kLargeBytes = 20 * 1024 * 1024;
// A program near the line limit: 30000 lines, 1.4 MB, opened without a question.
constexpr qint64 kUnaskedLines = 30000;
const QByteArray kShortLine = "print \"\xE4\xBD\xA0\xE5\xA5\xBD\", i * 2 + 1\n";
const QByteArray kLongLine = "    print \"\xE4\xBD\xA0\xE5\xA5\xBD\xE4\xB8\x96\xE7\x95\x8C\", i * 2 + 1, j * 3 - 2, k\n";

// Answers every question at once with `choice`, noting when the first came.
class TimedDialogs : public tarnik::Dialogs {
public:
    explicit TimedDialogs(const QElapsedTimer& clock, qsizetype choice) : m_clock(clock), m_choice(choice) {}

    qsizetype askChoice(QWidget*, const QString&, const QString&, const QStringList&) override
    {
        if (firstQuestionMs < 0) firstQuestionMs = static_cast<double>(m_clock.nsecsElapsed()) / 1e6;
        return m_choice;
    }
    tarnik::Answer askYesNoCancel(QWidget*, const QString&, const QString&) override { return tarnik::Answer::No; }
    tarnik::Answer offerRecovery(QWidget*, const QString&, const QString&) override { return tarnik::Answer::Cancel; }
    tarnik::RecoveryListAnswer offerRecoveryList(QWidget*, const QString&, const QString&, const QStringList&) override
    {
        return {};
    }
    std::optional<qsizetype> chooseItem(QWidget*, const QString&, const QString&, const QStringList&) override
    {
        return std::nullopt;
    }
    void showMessage(QWidget*, tarnik::MessageIcon, const QString&, const QString&) override {}
    void showRunError(QWidget*, const QString&, const QString&, const QString&) override {}
    QString openFileName(QWidget*, const QString&, const QString&) override { return {}; }
    QString saveFileName(QWidget*, const QString&, const QString&) override { return {}; }
    std::optional<QString> inputText(QWidget*, const QString&, const tarnik::InputPrompt&) override { return std::nullopt; }
    void endQuestions() override {}

    double firstQuestionMs = -1;

private:
    const QElapsedTimer& m_clock;
    qsizetype m_choice;
};

// A text file of lines like a program's, at least `bytes` long.
void writeLargeFile(const QString& path, qint64 bytes, const QByteArray& line)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly)) return;
    for (qint64 written = 0; written < bytes; written += line.size()) file.write(line);
}

void timeOpen(const QString& path, qsizetype choice, const char* what)
{
    QElapsedTimer clock;
    TimedDialogs dialogs(clock, choice);
    tarnik::frmMain window(dialogs);
    window.show();
    QApplication::processEvents();
    clock.start();
    window.openCommandLineFile(path);
    const double totalMs = static_cast<double>(clock.nsecsElapsed()) / 1e6;
    if (dialogs.firstQuestionMs < 0) {
        std::printf("%-40s no question,               whole open %9.1f ms\n", what, totalMs);
    } else {
        std::printf("%-40s until the question %8.1f ms, whole open %9.1f ms\n", what, dialogs.firstQuestionMs, totalMs);
    }
}

}  // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QTemporaryDir dir;
    const QString large = dir.filePath(QStringLiteral("large.bas"));
    writeLargeFile(large, kLargeBytes, kShortLine);
    timeOpen(large, 1, "20 MB file, question answered 取消");
    timeOpen(large, 0, "20 MB file, question answered 打开");
    const QString unasked = dir.filePath(QStringLiteral("unasked.bas"));
    writeLargeFile(unasked, kUnaskedLines * kLongLine.size(), kLongLine);
    timeOpen(unasked, 0, "30000 lines, 1.4 MB");
    return 0;
}
