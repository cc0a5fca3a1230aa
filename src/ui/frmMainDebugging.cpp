// frmMain's breakpoints and 运行到光标处. The editor keeps the breakpoints
// between runs; each run starts with them, and a click in the gutter during
// a run changes the run's too. Breakpoints pause any run, Start's as well as
// Debug's, as STOP does.
#include "interp/RunController.h"
#include "ui/Dialogs.h"
#include "ui/EditorText.h"
#include "ui/frmMain.h"
#include "ui/run/frmResult.h"
#include "ui_frmMain.h"

namespace tarnik {

void frmMain::connectDebugging()
{
    connect(ui->mnuRunToCursor, &QAction::triggered, this, &frmMain::mnuRunToCursor_Click);
    m_result->addAction(ui->mnuRunToCursor);
    connect(ui->txtSource, &SourceEditor::breakpointToggled, this, &frmMain::breakpointToggled);
    connect(ui->txtSource, &SourceEditor::breakpointConditionWanted, this, &frmMain::askBreakpointCondition);
}

// With a run going, it pauses at the caret's line; otherwise a Debug run
// starts and runs freely to it.
void frmMain::mnuRunToCursor_Click()
{
    m_controller.runTo(ui->txtSource->textCursor().blockNumber() + 1);
    if (!m_controller.running()) runEditorProgram(RunMode::Stepping);
}

void frmMain::breakpointToggled(int line, bool on)
{
    if (m_controller.running()) m_controller.setBreakpoint(line, on);
}

void frmMain::askBreakpointCondition(int line)
{
    InputPrompt prompt;
    prompt.text = QStringLiteral("第%1行的断点只在这个条件成立时暂停（如 i = 5 或 s > 100，“=”在这里是比较）。"
                                 "留空则每次都暂停：")
                      .arg(line);
    const QString current = ui->txtSource->breakpointCondition(line);
    if (!current.isEmpty()) prompt.question = QStringLiteral("现在的条件：%1").arg(current);
    const std::optional<QString> condition = m_dialogs.inputText(this, QStringLiteral("设置断点条件"), prompt);
    if (!condition) return;
    ui->txtSource->setBreakpointCondition(line, *condition);
    if (!m_controller.running()) return;
    m_controller.setBreakpoint(line, true);
    m_controller.setBreakpointCondition(line, condition->trimmed().toStdU16String());
}

}  // namespace tarnik
