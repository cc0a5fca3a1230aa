// The paused run in the editor: the line about to run (▶ and a background)
// and the ticked breakpoints (●) while the debugger window is open, and
// neither once the run goes on or ends.
#include <QImage>
#include <QTest>
#include <QTimer>
#include <QTextBlock>

#include "support/DebuggerScript.h"
#include "support/IdeFixture.h"
#include "ui/editor/SourceEditor.h"

namespace tarnik::test {
namespace {

const QString kLoop = QStringLiteral(
    "for i = 1 to 2\n"
    "    a = i\n"
    "next\n"
    "print a");

class EditorPauseMarks : public IdeFixture {
protected:
    SourceEditor& source() { return *qobject_cast<SourceEditor*>(&editor()); }
    QWidget& gutter() { return *editor().findChild<QWidget*>(QStringLiteral("lineNumberGutter")); }

    // Pixels in the left half of the gutter (where the marks go; the numbers
    // of short programs stand at the right) beside `line` that differ from
    // the gutter's background.
    int markInk(int line)
    {
        const QTextBlock block = editor().document()->findBlockByNumber(line - 1);
        const QRect band = source().cursorRect(QTextCursor(block));
        const QImage image = gutter().grab().toImage();
        const QRgb background = image.pixel(0, 0);
        int ink = 0;
        for (int y = std::max(band.top(), 0); y <= std::min(band.bottom(), image.height() - 1); ++y) {
            for (int x = 0; x < image.width() / 2; ++x) ink += image.pixel(x, y) != background ? 1 : 0;
        }
        return ink;
    }

    void expectNoMarks()
    {
        EXPECT_EQ(source().pausedLine(), std::nullopt);
        EXPECT_TRUE(source().breakpointMarks().empty());
        EXPECT_EQ(editor().extraSelections().size(), 1);
        for (int line = 1; line <= 4; ++line) EXPECT_EQ(markInk(line), 0) << "line " << line;
    }

    void expectPausedAt(int line, const std::vector<int>& breakpoints)
    {
        EXPECT_EQ(source().pausedLine(), line);
        EXPECT_EQ(source().breakpointMarks(), breakpoints);
        ASSERT_EQ(editor().extraSelections().size(), 2);
        EXPECT_EQ(editor().extraSelections().at(1).cursor.blockNumber() + 1, line);
        for (int marked = 1; marked <= 4; ++marked) {
            const bool hasMark = marked == line || std::count(breakpoints.begin(), breakpoints.end(), marked) > 0;
            EXPECT_EQ(markInk(marked) > 0, hasMark) << "line " << marked;
        }
    }
};

TEST_F(EditorPauseMarks, MarksFollowTheStepsAndTheTickedBreakpoints)
{
    setEditorText(kLoop);
    window->resize(600, 400);
    expectNoMarks();
    DebuggerScript script({
        [this](QDialog& debugger) {
            expectPausedAt(1, {});
            clickTick(debugger, 4);
            expectPausedAt(1, {4});  // the tick shows at once, the view stays
            click(debugger, "cmdStep");
        },
        [this](QDialog& debugger) {
            expectPausedAt(2, {4});
            click(debugger, "cmdContinue");
        },
        [this](QDialog& debugger) {
            expectPausedAt(4, {4});
            clickTick(debugger, 4);  // unticked
            expectPausedAt(4, {});
            click(debugger, "cmdContinue");
        },
    });
    action("mnuDebug").trigger();
    EXPECT_EQ(script.pausedLines(), (std::vector<int>{1, 2, 4}));
    expectNoMarks();
}

TEST_F(EditorPauseMarks, MarksGoWhenTheRunGoesOnOrIsEnded)
{
    struct Case {
        const char* name;
        std::function<void(QDialog&)> leave;
        bool runGoesOn;
    };
    const Case cases[] = {
        {"continue", [](QDialog& debugger) { click(debugger, "cmdContinue"); }, true},
        {"abort", [](QDialog& debugger) { click(debugger, "cmdAbort"); }, false},
        {"console closed", [this](QDialog&) { console().close(); }, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        // After the pause an endless loop keeps the run going, so the marks
        // are looked at while it runs, before the console ends it.
        setEditorText(QStringLiteral("print 1\ndo while 1 = 1\n    n = n + 1\nloop"));
        window->resize(600, 400);
        DebuggerScript script({[&](QDialog& debugger) {
            expectPausedAt(1, {});
            c.leave(debugger);
        }});
        bool lookedWhileRunning = false;
        QTimer whileRunning;
        QObject::connect(&whileRunning, &QTimer::timeout, window.get(), [&] {
            // n counts the loop's rounds: it exists only once the run went on.
            if (script.pauses() != 1 || runState().Variables.valueOf(u"n") == 0 || !console().isVisible()) return;
            lookedWhileRunning = true;
            expectNoMarks();
            console().close();
        });
        whileRunning.start(10);
        action("mnuDebug").trigger();
        whileRunning.stop();
        EXPECT_EQ(lookedWhileRunning, c.runGoesOn);
        EXPECT_EQ(script.pauses(), 1);
        expectNoMarks();
    }
}

}  // namespace
}  // namespace tarnik::test
