// The program and the console share one monospaced Chinese font whose size
// the zoom keys and Ctrl+wheel change, in either window, and which the next
// start remembers.
#include <QFontInfo>
#include <QScrollBar>
#include <QSettings>
#include <QTest>
#include <QWheelEvent>

#include "support/IdeFixture.h"
#include "ui/storage/TarnikSettings.h"
#include "ui/TextZoom.h"

namespace tarnik::test {
namespace {

class Zoom : public IdeFixture {
protected:
    int editorSize() { return editor().font().pointSize(); }
    int consoleSize() { return consoleBox().font().pointSize(); }
    void keyIn(QWidget& widget, Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::ControlModifier)
    {
        widget.window()->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(widget.window()));
        widget.setFocus();
        QTest::keyClick(&widget, key, modifiers);
    }
    void wheel(QWidget& viewport, int angle, Qt::KeyboardModifiers modifiers)
    {
        const QPointF at(10, 10);
        QWheelEvent event(at, viewport.mapToGlobal(at), QPoint(), QPoint(0, angle), Qt::NoButton, modifiers,
                          Qt::NoScrollPhase, false);
        QApplication::sendEvent(&viewport, &event);
    }
    QVariant storedSize() { return tarnikSettings().value("Editor/FontSize"); }
};

TEST_F(Zoom, BothBoxesShowAMonospacedChineseFontAtTheStartSize)
{
    for (QPlainTextEdit* box : {&editor(), &consoleBox()}) {
        const QFontInfo shown(box->font());
        EXPECT_EQ(shown.family(), QStringLiteral("Noto Sans Mono CJK SC"));
        // Letters take one column, Chinese characters two.
        const QFontMetrics metrics(box->font());
        EXPECT_EQ(metrics.horizontalAdvance(QLatin1Char('i')), metrics.horizontalAdvance(QLatin1Char('W')));
        EXPECT_EQ(metrics.horizontalAdvance(QStringLiteral("中")), 2 * metrics.horizontalAdvance(QLatin1Char('W')));
        EXPECT_EQ(box->font().pointSize(), TextZoom::kDefaultPointSize);
    }
}

TEST_F(Zoom, TheKeysZoomTheProgramAndTheConsoleAlike)
{
    struct Step {
        Qt::Key key;
        Qt::KeyboardModifiers modifiers;
        int size;
    };
    const int start = TextZoom::kDefaultPointSize;
    const Step steps[] = {
        {Qt::Key_Equal, Qt::ControlModifier, start + 1},
        {Qt::Key_Equal, Qt::ControlModifier, start + 2},
        {Qt::Key_Plus, Qt::ControlModifier, start + 3},
        {Qt::Key_Minus, Qt::ControlModifier, start + 2},
        {Qt::Key_0, Qt::ControlModifier, start},
        {Qt::Key_Minus, Qt::ControlModifier, start - 1},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(QKeySequence(step.key | step.modifiers).toString().toStdString());
        keyIn(editor(), step.key, step.modifiers);
        EXPECT_EQ(editorSize(), step.size);
        EXPECT_EQ(consoleSize(), step.size);
    }
    EXPECT_EQ(editor().toPlainText(), QString()) << "the keys typed nothing";
}

TEST_F(Zoom, TheConsolesKeysZoomBothToo)
{
    console().show();
    keyIn(consoleBox(), Qt::Key_Equal);
    EXPECT_EQ(consoleSize(), TextZoom::kDefaultPointSize + 1);
    EXPECT_EQ(editorSize(), TextZoom::kDefaultPointSize + 1);
    console().hide();
}

TEST_F(Zoom, CtrlWheelZoomsByNotchesAndAPlainWheelScrolls)
{
    setEditorText(QStringLiteral("x\n").repeated(200));
    QWidget& viewport = *editor().viewport();
    wheel(viewport, 120, Qt::ControlModifier);
    EXPECT_EQ(editorSize(), TextZoom::kDefaultPointSize + 1);
    wheel(viewport, 60, Qt::ControlModifier);  // half a notch of a touchpad
    EXPECT_EQ(editorSize(), TextZoom::kDefaultPointSize + 1);
    wheel(viewport, 60, Qt::ControlModifier);
    EXPECT_EQ(editorSize(), TextZoom::kDefaultPointSize + 2);
    wheel(*consoleBox().viewport(), -240, Qt::ControlModifier);
    EXPECT_EQ(editorSize(), TextZoom::kDefaultPointSize);
    EXPECT_EQ(consoleSize(), TextZoom::kDefaultPointSize);

    wheel(viewport, -120, Qt::NoModifier);
    EXPECT_EQ(editorSize(), TextZoom::kDefaultPointSize);
    EXPECT_GT(editor().verticalScrollBar()->value(), 0);
}

TEST_F(Zoom, TheSizeStaysWithinItsBounds)
{
    for (int i = 0; i < 100; ++i) action("mnuViewZoomIn").trigger();
    EXPECT_EQ(editorSize(), TextZoom::kMaxPointSize);
    for (int i = 0; i < 100; ++i) action("mnuViewZoomOut").trigger();
    EXPECT_EQ(editorSize(), TextZoom::kMinPointSize);
}

TEST_F(Zoom, TheNextStartRemembersTheSize)
{
    action("mnuViewZoomIn").trigger();
    action("mnuViewZoomIn").trigger();
    EXPECT_EQ(storedSize().toInt(), TextZoom::kDefaultPointSize + 2);
    restartWindow();
    EXPECT_EQ(editorSize(), TextZoom::kDefaultPointSize + 2);
    EXPECT_EQ(consoleSize(), TextZoom::kDefaultPointSize + 2);
}

TEST_F(Zoom, AStoredSizeThatIsNoSizeGivesTheStartSize)
{
    for (const char* stored : {"big", "0", "999"}) {
        SCOPED_TRACE(stored);
        tarnikSettings().setValue("Editor/FontSize", stored);
        restartWindow();
        const int expected = QByteArray(stored) == "big" ? TextZoom::kDefaultPointSize
                             : QByteArray(stored) == "0" ? TextZoom::kMinPointSize
                                                         : TextZoom::kMaxPointSize;
        EXPECT_EQ(editorSize(), expected);
    }
}

TEST_F(Zoom, TheViewMenuNamesTheKeys)
{
    EXPECT_EQ(action("mnuViewZoomIn").text(), QStringLiteral("放大(&I)"));
    EXPECT_EQ(action("mnuViewZoomIn").toolTip(), QStringLiteral("放大 (Ctrl+=)"));
    EXPECT_EQ(action("mnuViewZoomOut").toolTip(), QStringLiteral("缩小 (Ctrl+-)"));
    EXPECT_EQ(action("mnuViewZoomOriginal").toolTip(), QStringLiteral("原始大小 (Ctrl+0)"));
}

}  // namespace
}  // namespace tarnik::test
