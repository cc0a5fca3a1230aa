#pragma once
// The console of a running program and the run's view of the IDE. PRINT and
// INPUT write into it; hiding it (its End command or its close box) is what
// aborts a run, which notices before its next statement.
//
// A run executes inside the Start command's handler and reaches the event loop
// only through yield(). Doing that on every statement would cost more than
// the statements, so yield() looks at the clock every few statements and
// processes events only when a few milliseconds have passed. Output is kept
// in a buffer until then, so the widget is touched once per batch.
#include <QElapsedTimer>
#include <QMainWindow>
#include <QString>
#include <QTimer>
#include <memory>

#include "interp/RunController.h"

namespace Ui {
class frmResult;
}

namespace tarnik {

class Dialogs;

class frmResult : public QMainWindow, public RunConsole {
    Q_OBJECT

public:
    explicit frmResult(Dialogs& dialogs);
    ~frmResult() override;

    void yield() override;
    [[nodiscard]] bool consoleVisible() override;
    void StopWindow() override;
    void Append(std::u16string_view text) override;
    std::optional<std::u16string> InputWindow(std::u16string_view info) override;
    void Clear() override;
    void showConsole() override;
    void setCaption(std::u16string_view caption) override;

protected:
    void closeEvent(QCloseEvent* event) override;

private slots:
    void Timer1_Timer();

private:
    // Handlers of the menu's commands, named after their controls. moc cannot
    // read these names, so they are plain members; connect() takes them as such.
    void 暂停_Click();
    void 结束_Click();
    void flushOutput();

    std::unique_ptr<Ui::frmResult> ui;
    Dialogs& m_dialogs;
    QTimer Timer1;
    QString m_pendingOutput;
    int m_statementsSinceClock = 0;
    QElapsedTimer m_sinceEvents;
};

}  // namespace tarnik
