#pragma once
// Plays the user at the debugger window of a paused run: at each pause the
// next step of the script gets the open window, looks at it and closes it
// the way the user would. A pause with no step left fails the test and
// aborts the run, so that a test never hangs in the modal window.
#include <QDialog>
#include <QPointer>
#include <QStringList>
#include <QElapsedTimer>
#include <QTimer>
#include <QTreeWidget>
#include <deque>
#include <functional>
#include <vector>

namespace tarnik::test {

class DebuggerScript : public QObject {
public:
    using Step = std::function<void(QDialog& debugger)>;

    explicit DebuggerScript(std::deque<Step> steps = {});
    ~DebuggerScript() override;

    void add(Step step) { m_steps.push_back(std::move(step)); }
    [[nodiscard]] int pauses() const { return m_pauses; }
    // The line marked as current at each pause so far.
    [[nodiscard]] const std::vector<int>& pausedLines() const { return m_pausedLines; }

private:
    void poll();

    std::deque<Step> m_steps;
    QTimer m_poll;
    QElapsedTimer m_sinceStep;  // since the current window's step ran
    QPointer<QDialog> m_handled;
    int m_pauses = 0;
    std::vector<int> m_pausedLines;
};

// Reading and working the debugger window like its user.
[[nodiscard]] QTreeWidget& variableList(QDialog& debugger);
[[nodiscard]] QTreeWidget& codeList(QDialog& debugger);
// Each row's column texts.
[[nodiscard]] std::vector<QStringList> rows(const QTreeWidget& list);
// The number in the "行号" column of the bold row; 0 when no row is bold.
[[nodiscard]] int markedLine(QDialog& debugger);
[[nodiscard]] QTreeWidgetItem* codeRow(QDialog& debugger, int line);
void click(QDialog& debugger, const char* button);
// A mouse click on the check box of the line's row.
void clickTick(QDialog& debugger, int line);
// A key pressed where the keyboard focus is.
void press(QDialog& debugger, Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier);

}  // namespace tarnik::test
