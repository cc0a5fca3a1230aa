// The program text box's own parts: the line-number gutter, the tint on the
// caret's line, and the caret's column in the status bar beside its line.
#include <QImage>
#include <QLabel>
#include <QTest>
#include <QTextBlock>

#include "support/IdeFixture.h"
#include "ui/editor/SourceEditor.h"

namespace tarnik::test {
namespace {

class SourceEditorParts : public IdeFixture {
protected:
    SourceEditor& source() { return *qobject_cast<SourceEditor*>(&editor()); }
    QWidget& gutter() { return *editor().findChild<QWidget*>(QStringLiteral("lineNumberGutter")); }
    QString columnPanel() { return window->findChild<QLabel*>(QStringLiteral("sbColumn"))->text(); }
    void placeCaret(int position, int selectionEnd = -1)
    {
        QTextCursor cursor = editor().textCursor();
        cursor.setPosition(position);
        if (selectionEnd >= 0) cursor.setPosition(selectionEnd, QTextCursor::KeepAnchor);
        editor().setTextCursor(cursor);
    }
    // Pixels of the gutter's row band [top, bottom) that differ from its background.
    int inkBetween(int top, int bottom)
    {
        const QImage image = gutter().grab().toImage();
        const QRgb background = image.pixel(0, 0);
        int ink = 0;
        for (int y = std::max(top, 0); y < std::min(bottom, image.height()); ++y) {
            for (int x = 0; x < image.width(); ++x) ink += image.pixel(x, y) != background ? 1 : 0;
        }
        return ink;
    }
};

TEST_F(SourceEditorParts, TheTextBoxKeepsItsNameAndHasAGutterLeftOfTheText)
{
    ASSERT_NE(qobject_cast<SourceEditor*>(&editor()), nullptr);
    ASSERT_TRUE(gutter().isVisible());
    EXPECT_GE(editor().viewport()->geometry().left(), gutter().geometry().right());
    EXPECT_GT(gutter().width(), 0);
}

TEST_F(SourceEditorParts, TheGutterWidensWhenTheNumbersGetMoreDigits)
{
    struct Case {
        int lines;
        int digits;
    };
    const int digitWidth = editor().fontMetrics().horizontalAdvance(QLatin1Char('9'));
    setEditorText(QStringLiteral("a\nb"));
    const int threeDigits = gutter().width();
    const Case cases[] = {{99, 3}, {999, 3}, {1000, 4}, {10000, 5}, {3, 3}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.lines);
        setEditorText(QStringLiteral("x\n").repeated(c.lines - 1) + QStringLiteral("x"));
        EXPECT_EQ(gutter().width(), threeDigits + (c.digits - 3) * digitWidth);
        EXPECT_GE(editor().viewport()->geometry().left(), gutter().width());
    }
}

TEST_F(SourceEditorParts, TheGutterDrawsANumberBesideEachLineAndNothingBelowTheLast)
{
    setEditorText(QStringLiteral("print 1\nprint 2\nprint 3"));
    window->resize(600, 400);
    ASSERT_TRUE(waitFor([&] { return gutter().height() > 100; }));
    const int lineHeight = qRound(static_cast<qreal>(editor().document()->documentLayout()->blockBoundingRect(
        editor().document()->firstBlock()).height()));
    const int top = source().cursorRect(editor().textCursor()).top();
    for (int line = 0; line < 3; ++line) {
        SCOPED_TRACE(line + 1);
        EXPECT_GT(inkBetween(top + line * lineHeight, top + (line + 1) * lineHeight), 0);
    }
    EXPECT_EQ(inkBetween(top + 3 * lineHeight, top + 6 * lineHeight), 0);
}

TEST_F(SourceEditorParts, TheStartOfABlockLeftOpenIsMarkedBesideItsNumberUntilANewTextIsLoaded)
{
    setEditorText(QStringLiteral("x = 1\nfor i = 1 to 3\nprint i"));
    window->resize(600, 400);
    ASSERT_TRUE(waitFor([&] { return gutter().height() > 100; }));
    const QRect second = source().cursorRect(QTextCursor(editor().document()->findBlockByNumber(1)));
    const int unmarked = inkBetween(second.top(), second.bottom());
    source().markUnclosedBlock(2, QStringLiteral("这个 For 从第2行开始，还没有 Next。"));
    EXPECT_GT(inkBetween(second.top(), second.bottom()), unmarked);
    EXPECT_EQ(source().gutterToolTipAt(second.center()), QStringLiteral("这个 For 从第2行开始，还没有 Next。"));

    source().loadText(QStringLiteral("x = 1\nfor i = 1 to 3\nnext"));
    EXPECT_EQ(source().unclosedBlockLine(), std::nullopt);
    EXPECT_EQ(inkBetween(second.top(), second.bottom()), unmarked);
    EXPECT_EQ(source().gutterToolTipAt(second.center()), QString());
}

TEST_F(SourceEditorParts, TheGutterTakesItsShadesFromTheTextsColours)
{
    for (const auto& [base, text] : {std::pair{QColor(Qt::white), QColor(Qt::black)},
                                     std::pair{QColor(0x1e, 0x1e, 0x1e), QColor(0xe0, 0xe0, 0xe0)}}) {
        SCOPED_TRACE(base.name().toStdString());
        QPalette palette = editor().palette();
        palette.setColor(QPalette::Base, base);
        palette.setColor(QPalette::Text, text);
        editor().setPalette(palette);
        const QColor background = gutter().grab().toImage().pixelColor(0, 0);
        EXPECT_LT(std::abs(background.lightness() - base.lightness()), 32) << "close to the text's background";
        EXPECT_NE(background, base) << "yet set off from it";
    }
}

TEST_F(SourceEditorParts, TheCaretLineAloneIsTintedAndTheTintFollowsTheCaret)
{
    setEditorText(QStringLiteral("a = 1\nb = 2\nc = 3"));
    for (int position : {0, 8, 14, 3}) {
        SCOPED_TRACE(position);
        placeCaret(position);
        const QList<QTextEdit::ExtraSelection> tints = editor().extraSelections();
        ASSERT_EQ(tints.size(), 1);
        EXPECT_TRUE(tints[0].format.boolProperty(QTextFormat::FullWidthSelection));
        EXPECT_EQ(tints[0].cursor.blockNumber(), editor().document()->findBlock(position).blockNumber());
        EXPECT_FALSE(tints[0].cursor.hasSelection());
        EXPECT_LT(tints[0].format.background().color().alpha(), 128);  // the text stays readable
    }
}

TEST_F(SourceEditorParts, TheStatusBarShowsTheColumnOfTheLinesPoint)
{
    struct Case {
        const char* text;
        int selectionStart;
        int selectionEnd;
        const char* line;
        const char* column;
    };
    const Case cases[] = {
        {"", 0, 0, "当前行号：1", "当前列号：1"},
        {"print 1", 7, 7, "当前行号：1", "当前列号：8"},
        {"ab\ncdef", 5, 5, "当前行号：2", "当前列号：3"},
        {"ab\ncdef", 3, 3, "当前行号：2", "当前列号：1"},
        {"ab\ncdef", 6, 1, "当前行号：1", "当前列号：2"},  // a selection names its start
        {"中文\n打印 x", 5, 5, "当前行号：2", "当前列号：3"},  // characters, not bytes
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        setEditorText(QString::fromUtf8(c.text));
        placeCaret(c.selectionStart, c.selectionEnd);
        EXPECT_TRUE(waitFor([&] { return columnPanel() == QString::fromUtf8(c.column); })) << columnPanel();
        EXPECT_EQ(statusLine(), QString::fromUtf8(c.line));
    }
}

}  // namespace
}  // namespace tarnik::test
