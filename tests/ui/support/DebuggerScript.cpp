#include "support/DebuggerScript.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QHeaderView>
#include <QPushButton>
#include <QStyle>
#include <QStyleOptionViewItem>
#include <QTest>

namespace tarnik::test {
namespace {

constexpr int kPollMs = 5;
constexpr qint64 kStuckMs = 5000;

QDialog* openDebugger()
{
    // A window of its own, or docked in the editor window (单窗口布局).
    for (QWidget* widget : QApplication::allWidgets()) {
        if (widget->objectName() == QLatin1String("frmVars") && widget->isVisible()) {
            return qobject_cast<QDialog*>(widget);
        }
    }
    return nullptr;
}

}  // namespace

DebuggerScript::DebuggerScript(std::deque<Step> steps) : m_steps(std::move(steps))
{
    connect(&m_poll, &QTimer::timeout, this, &DebuggerScript::poll);
    m_poll.start(kPollMs);
}

DebuggerScript::~DebuggerScript()
{
    EXPECT_TRUE(m_steps.empty()) << m_steps.size() << " debugger steps never ran";
}

void DebuggerScript::poll()
{
    QDialog* debugger = openDebugger();
    if (!debugger) return;
    if (debugger == m_handled) {
        // A step that did not close the window would leave the run paused for
        // good; fail instead of hanging.
        if (m_sinceStep.hasExpired(kStuckMs)) {
            ADD_FAILURE() << "the debugger window stayed open after its step";
            debugger->reject();
            m_sinceStep.start();
        }
        return;
    }
    m_handled = debugger;
    m_sinceStep.start();
    ++m_pauses;
    m_pausedLines.push_back(markedLine(*debugger));
    if (m_steps.empty()) {
        ADD_FAILURE() << "unexpected pause at line " << m_pausedLines.back();
        click(*debugger, "cmdAbort");
        return;
    }
    Step step = std::move(m_steps.front());
    m_steps.pop_front();
    step(*debugger);
}

QTreeWidget& variableList(QDialog& debugger)
{
    return *debugger.findChild<QTreeWidget*>(QStringLiteral("lv"));
}

QTreeWidget& codeList(QDialog& debugger)
{
    return *debugger.findChild<QTreeWidget*>(QStringLiteral("lvCode"));
}

std::vector<QStringList> rows(const QTreeWidget& list)
{
    std::vector<QStringList> result;
    for (int i = 0; i < list.topLevelItemCount(); ++i) {
        QStringList columns;
        for (int column = 0; column < list.columnCount(); ++column) columns << list.topLevelItem(i)->text(column);
        result.push_back(columns);
    }
    return result;
}

int markedLine(QDialog& debugger)
{
    const QTreeWidget& list = codeList(debugger);
    for (int i = 0; i < list.topLevelItemCount(); ++i) {
        if (list.topLevelItem(i)->font(2).bold()) return list.topLevelItem(i)->text(1).toInt();
    }
    return 0;
}

QTreeWidgetItem* codeRow(QDialog& debugger, int line)
{
    return codeList(debugger).topLevelItem(line - 1);
}

void click(QDialog& debugger, const char* button)
{
    auto* found = debugger.findChild<QPushButton*>(QLatin1String(button));
    ASSERT_NE(found, nullptr) << button;
    QTest::mouseClick(found, Qt::LeftButton);
}

// Where the style draws the check box of the row's first column.
void clickTick(QDialog& debugger, int line)
{
    QTreeWidget& list = codeList(debugger);
    QTreeWidgetItem* row = codeRow(debugger, line);
    ASSERT_NE(row, nullptr) << line;
    list.scrollToItem(row);
    QStyleOptionViewItem option;
    option.initFrom(&list);
    option.rect = list.visualItemRect(row);
    option.rect.setLeft(list.header()->sectionViewportPosition(0));
    option.rect.setWidth(list.header()->sectionSize(0));
    option.features |= QStyleOptionViewItem::HasCheckIndicator;
    const QRect box = list.style()->subElementRect(QStyle::SE_ItemViewItemCheckIndicator, &option, &list);
    QTest::mouseClick(list.viewport(), Qt::LeftButton, Qt::NoModifier, box.center());
}

void press(QDialog& debugger, Qt::Key key, Qt::KeyboardModifiers modifiers)
{
    // Shortcuts such as Alt+A reach only the active window; activation comes
    // late on the offscreen platform.
    debugger.activateWindow();
    (void)QTest::qWaitForWindowActive(&debugger, 2000);
    QWidget* target = debugger.focusWidget() ? debugger.focusWidget() : &debugger;
    QTest::keyClick(target, key, modifiers);
}

}  // namespace tarnik::test
