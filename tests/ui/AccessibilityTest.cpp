// What a screen reader is told: every control the keyboard can reach in the
// IDE's windows has a name, as the accessibility bridge gives it (a button's
// text counts; an unnamed list, box or field does not).
#include <QAccessible>
#include <QAccessibleInterface>
#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeWidget>

#include "support/DebuggerScript.h"
#include "ui/Announcer.h"
#include "ui/editor/SourceEditor.h"
#include "support/IdeFixture.h"
#include "ui/help/ReferenceWindow.h"
#include "ui/run/GradingWindow.h"

namespace tarnik::test {
namespace {

// "class objectName" of each widget under `root` (itself included) that
// takes the focus and has no accessible name.
QStringList unnamedFocusable(QWidget& root)
{
    QList<QWidget*> widgets = root.findChildren<QWidget*>();
    widgets.prepend(&root);
    QStringList unnamed;
    for (QWidget* widget : widgets) {
        if (widget->focusPolicy() == Qt::NoFocus) continue;
        QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(widget);
        if (accessible != nullptr && !accessible->text(QAccessible::Name).trimmed().isEmpty()) continue;
        unnamed << QString::fromLatin1(widget->metaObject()->className()) + QLatin1Char(' ') + widget->objectName();
    }
    return unnamed;
}

class Accessibility : public IdeFixture {};

TEST(UnnamedFocusable, FindsAFieldWithoutNameButNotOneWithALabelOrAButton)
{
    QWidget window;
    auto* field = new QLineEdit(&window);
    field->setObjectName(QStringLiteral("bare"));
    new QPushButton(QStringLiteral("确定"), &window);
    EXPECT_EQ(unnamedFocusable(window), QStringList{QStringLiteral("QLineEdit bare")});
    field->setAccessibleName(QStringLiteral("名字"));
    EXPECT_EQ(unnamedFocusable(window), QStringList());
}

TEST_F(Accessibility, MainWindowWithItsPanelsAndConsole)
{
    // The find bar, the input data panel and the warnings list are there too.
    action("mnuEditReplace").trigger();
    setEditorText(QStringLiteral("print 1\nprint 2"));
    run();
    ASSERT_TRUE(waitFor([this] { return !window->runController().running(); }));
    EXPECT_EQ(unnamedFocusable(*window), QStringList());
    EXPECT_EQ(unnamedFocusable(console()), QStringList());
}

TEST_F(Accessibility, DebuggerWithItsRecordAndWatches)
{
    setEditorText(QStringLiteral("x = 1\nprint x"));
    QStringList unnamed{QStringLiteral("not paused")};
    DebuggerScript script({[&](QDialog& debugger) {
        unnamed = unnamedFocusable(debugger);
        // The record window is the debugger's own, a window of its own.
        for (QWidget* top : QApplication::topLevelWidgets()) {
            if (top->isVisible() && top != &debugger && top->parentWidget() == &debugger) {
                unnamed += unnamedFocusable(*top);
            }
        }
        click(debugger, "cmdContinue");
    }});
    action("mnuDebug").trigger();
    EXPECT_EQ(script.pauses(), 1);
    EXPECT_EQ(unnamed, QStringList());
}

TEST_F(Accessibility, TestResultsGradingAndReference)
{
    writeFile(path(QStringLiteral("p.tnk")), "input a\r\nprint a\r\n");
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("p.tests")));
    writeFile(path(QStringLiteral("p.tests/one.in")), "3\n");
    writeFile(path(QStringLiteral("p.tests/one.out")), "3\n4\n");
    openCommandLine(path(QStringLiteral("p.tnk")));
    action("mnuRunTests").trigger();
    auto* results = window->findChild<QDialog*>(QStringLiteral("dlgTestResults"));
    ASSERT_NE(results, nullptr);
    EXPECT_EQ(unnamedFocusable(*results), QStringList());

    action("mnuRunGrade").trigger();
    auto* grading = window->findChild<GradingWindow*>();
    ASSERT_NE(grading, nullptr);
    EXPECT_EQ(unnamedFocusable(*grading), QStringList());

    action("mnuHelpReference").trigger();
    auto* reference = window->findChild<ReferenceWindow*>();
    ASSERT_NE(reference, nullptr);
    EXPECT_EQ(unnamedFocusable(*reference), QStringList());
}

// What the window's announcer says, in order.
class Announcements {
public:
    explicit Announcements(QWidget& window)
    {
        auto* announcer = window.findChild<Announcer*>();
        EXPECT_NE(announcer, nullptr);
        if (announcer == nullptr) return;
        QObject::connect(announcer, &Announcer::said, &m_receiver, [this](const QString& text) { m_said << text; });
    }
    [[nodiscard]] const QStringList& said() const { return m_said; }

private:
    QObject m_receiver;
    QStringList m_said;
};

TEST_F(Accessibility, RunIsAnnouncedWithTheConsoleNewestLineAtMostAFewTimesASecond)
{
    Announcements announcements(*window);
    setEditorText(QStringLiteral("for i = 1 to 2000\n    print i\nnext"));
    run();
    ASSERT_TRUE(waitFor([this] { return !window->runController().running(); }));
    const QStringList& said = announcements.said();
    ASSERT_GE(said.size(), 3);
    EXPECT_EQ(said.front(), QStringLiteral("程序开始运行。"));
    // The newest line waiting is said before the end, and only some of the lines are said, in order.
    EXPECT_EQ(said.at(said.size() - 2), QStringLiteral("2000"));
    EXPECT_EQ(said.back(), QStringLiteral("程序运行结束。"));
    EXPECT_LT(said.size(), 2000);
    int previous = 0;
    for (const QString& line : said.mid(1, said.size() - 2)) {
        EXPECT_GT(line.toInt(), previous) << line;
        previous = line.toInt();
    }
}

TEST_F(Accessibility, ErrorIsAnnouncedWithItsLine)
{
    Announcements announcements(*window);
    setEditorText(QStringLiteral("x = 0\nprint 1 / x"));
    run();
    ASSERT_TRUE(waitFor([this] { return !window->runController().running(); }));
    ASSERT_FALSE(announcements.said().isEmpty());
    EXPECT_TRUE(announcements.said().back().startsWith(QStringLiteral("程序出错："))) << announcements.said().back();
    EXPECT_TRUE(announcements.said().back().contains(QStringLiteral("第2行"))) << announcements.said().back();
}

// The gutter's breakpoints without the mouse: on the caret's line.
TEST_F(Accessibility, BreakpointTogglesFromTheKeyboard)
{
    setEditorText(QStringLiteral("x = 1\ny = 2\nprint x + y"));
    QTextCursor caret = editor().textCursor();
    caret.movePosition(QTextCursor::Start);
    caret.movePosition(QTextCursor::NextBlock);
    editor().setTextCursor(caret);
    auto& source = static_cast<SourceEditor&>(editor());
    action("mnuRunToggleBreakpoint").trigger();
    ASSERT_EQ(source.breakpoints().size(), 1U);
    EXPECT_EQ(source.breakpoints().front().line, 2);
    action("mnuRunToggleBreakpoint").trigger();
    EXPECT_TRUE(source.breakpoints().empty());
}

}  // namespace
}  // namespace tarnik::test
