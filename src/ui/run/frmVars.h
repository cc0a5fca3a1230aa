#pragma once
// The debugger window of a paused run: the variables with their values and
// the program listing with the line about to run marked, where lines are
// ticked as breakpoints. The console opens it modally before a statement;
// the run waits inside that call until one of the buttons (or the close
// box) closes the window.
//
// Enter is Step (the default button) and Esc is Continue (the reject path);
// Backspace is 后退: the window then shows the run one statement earlier, and
// Step moves forward through that record before it runs anything new.
// the close box has a path of its own that leaves the run's mode alone, so
// that in stepping mode the next line pauses again. The window can be
// resized, and keeps its size and place for the next pause.
//
// Beside it, in a window of its own that the debugger owns (so that the
// debugger's own layout stays as it is), the 执行记录 of a Debug run: the
// steps around the moment shown, a click on one goes there; the GOSUB stack
// of that moment; 导出跟踪表; 退到上一个断点 (Ctrl+Backspace: the record's
// latest earlier moment before a breakpoint's line); and the watches (监视)
// at that moment.
//
// A variable's context menu sets the run to pause when its value changes
// (值改变时暂停); Ctrl+F8 runs on to the line selected in the listing
// (运行到光标处).
#include <QDialog>
#include <cstdint>
#include <memory>
#include <stop_token>
#include <string>
#include <vector>

class QLabel;
class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;

namespace Ui {
class frmVars;
}

namespace tarnik {

class Dialogs;
class RunController;
class WatchPanel;

class frmVars : public QDialog {
    Q_OBJECT

public:
    // What closed the window; exec() returns it.
    enum Choice { Closed = 0, Stepped, Continued, Aborted };

    frmVars(RunController& controller, Dialogs& dialogs, QWidget* parent = nullptr);
    ~frmVars() override;

    // The run was paused by the user's 暂停: why it has not ended (which
    // loop, and why it never ends), worked out in the background from a
    // replay of its `steps` statements with its answers, then shown above
    // the variables.
    void explainUnendedRun(std::u16string text, std::vector<std::u16string> answers, std::int64_t steps);
    void done(int result) override;
    void reject() override;
    // The 执行记录 window, for 单窗口布局 to dock beside the debugger.
    [[nodiscard]] QWidget& recordWindow() const { return *m_recordWindow; }

signals:
    // After 后退, 前进 or a jump through the record: the moment shown changed.
    void momentShown();

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private slots:
    void cmdBack_Click();
    void cmdStep_Click();
    void cmdContinue_Click();
    void cmdAbort_Click();
    void lvCode_ItemCheck(QTreeWidgetItem* item, int column);
    void lvRecord_Click(QTreeWidgetItem* item);
    void cmdExport_Click();
    void cmdBackToBreakpoint_Click();
    void lv_ContextMenu(const QPoint& point);
    void runToSelectedLine();

private:
    void setColumnWidths();
    void followPresentation();
    void setControlSizes();
    void fillVariables();
    void markChange(QTreeWidgetItem& row, const QString& tip);
    void fillProgramLines();
    void markCurrentLine();
    void showCurrentLine();
    // After 后退 or 前进: the variables and the current line of the moment shown.
    void showMoment();
    void createRecordWindow();
    void placeRecordWindow();
    void fillRecord();
    void fillGosubStack();
    void nameForScreenReaders();
    void giveListsRoom();

    std::unique_ptr<Ui::frmVars> ui;
    RunController& m_controller;
    Dialogs& m_dialogs;
    QWidget* m_recordWindow = nullptr;
    QTreeWidget* m_record = nullptr;
    QLabel* m_gosubStack = nullptr;
    QLabel* m_whyNotEnded = nullptr;
    std::stop_source m_analysis;  // ends the background analysis of why the run has not ended
    WatchPanel* m_watches = nullptr;
    QPushButton* m_backToBreakpoint = nullptr;
    QTreeWidgetItem* m_currentItem = nullptr;
};

}  // namespace tarnik
