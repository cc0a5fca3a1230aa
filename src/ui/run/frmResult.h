#pragma once
// The console of a running program and the run's view of the IDE. PRINT and
// INPUT write into it; hiding it (its End command or its close box) is what
// aborts a run, which notices before its next statement.
//
// A run executes inside the Start command's handler and reaches the event loop
// only through yield(). Doing that on every statement would cost more than
// the statements, so the run calls yield() only every few statements (see
// quietStatements()), and yield() processes events only when a few
// milliseconds have passed. Output is kept
// in a buffer until then, so the widget is touched once per batch.
//
// However long a program prints, the box keeps only its newest output (see
// kMaxLines and kMaxCharacters), with a line at the top saying that older
// output was dropped; what the program prints is not affected.
#include <QElapsedTimer>
#include <QMainWindow>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <QTimer>
#include <deque>
#include <memory>

#include "interp/RunController.h"

namespace Ui {
class frmResult;
}

namespace tarnik {

class Dialogs;
class TextZoom;
class frmVars;

class frmResult : public QMainWindow, public RunConsole {
    Q_OBJECT

public:
    // The most the box holds: past either, the oldest lines are dropped.
    static constexpr int kMaxLines = 20000;
    static constexpr qsizetype kMaxCharacters = 2 * 1024 * 1024;  // 4 MB of text
    static constexpr QStringView kOmittedNotice = u"……前面的输出已省略";

    // The box takes its font and size from `zoom`, and the window's zoom keys zoom it.
    frmResult(Dialogs& dialogs, RunController& controller, TextZoom& zoom);
    ~frmResult() override;

    void yield() override;
    [[nodiscard]] std::int64_t quietStatements() override;
    [[nodiscard]] bool consoleVisible() override;
    void StopWindow() override;
    void Append(std::u16string_view text) override;
    void inputQuestion(std::u16string_view question) override { m_inputQuestion = QString::fromStdU16String(std::u16string(question)); }
    std::optional<std::u16string> InputWindow(std::u16string_view info) override;
    void Clear() override;
    void showConsole() override;
    void setCaption(std::u16string_view caption) override;
    // Answers INPUT takes, in order, before it asks with the box; for the next run.
    void setPreparedAnswers(std::deque<QString> answers) { m_preparedAnswers = std::move(answers); }
    // What the console shows, and the answers INPUT took since it was last
    // emptied (prepared or typed): the last run, as a test case would give it.
    [[nodiscard]] QString outputText();
    [[nodiscard]] const QStringList& answersGiven() const { return m_answersGiven; }
    // While the debugger looks back: the box shows `text`, the console as it
    // was then, until showLiveText() puts the run's own text back.
    void showPastText(const QString& text);
    void showLiveText();

signals:
    // The box's last line after new output went in, for a screen reader to say.
    void lineShown(const QString& line);
    // A pause's debugger window, before the run waits in it.
    void debuggerOpened(frmVars& debugger);

protected:
    void closeEvent(QCloseEvent* event) override;

private slots:
    void Timer1_Timer();

private:
    // Handlers of the menu's commands, named after their controls. moc cannot
    // read these names, so they are plain members; connect() takes them as such.
    void 暂停_Click();
    void 结束_Click();
    void copyOutput();
    void saveOutput();
    std::optional<QString> askWithTheBox(std::u16string_view info);
    void flushOutput();
    void breakLongLines();
    void dropOldestOutput();
    void announceNewestLine();
    void showOmittedNotice();
    void followDebugger();

    std::unique_ptr<Ui::frmResult> ui;
    Dialogs& m_dialogs;
    RunController& m_controller;
    QTimer Timer1;
    QString m_pendingOutput;
    qsizetype m_lastLineLength = 0;  // of the box's last line
    bool m_omitted = false;          // the box starts with kOmittedNotice
    QElapsedTimer m_sinceEvents;
    QPointer<frmVars> m_debugger;  // while a run is paused
    bool m_pausedByUser = false;   // the next pause comes from 暂停
    std::deque<QString> m_preparedAnswers;
    QString m_inputQuestion;  // what the INPUT asking now printed before its variable
    QStringList m_answersGiven;
    std::optional<QString> m_liveText;  // kept while the box shows an earlier moment
};

}  // namespace tarnik
