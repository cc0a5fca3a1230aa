// The editor paints each line as the core's colouring reads it, with marks
// beside the colours (bold, italic, a wavy underline) and colours readable on
// a light and on a dark background.
#include <QTextBlock>
#include <QTextDocument>
#include <QTextLayout>
#include <cmath>

#include "services/LineColouring.h"
#include "support/IdeFixture.h"
#include "ui/editor/SourceHighlighter.h"

namespace tarnik::test {
namespace {

constexpr int kKinds = 7;

using Highlighting = IdeFixture;

// The format painted over the character at `column` of line `line` (from 0).
QTextCharFormat paintedAt(QPlainTextEdit& editor, int line, int column)
{
    const QTextBlock block = editor.document()->findBlockByNumber(line);
    for (const QTextLayout::FormatRange& range : block.layout()->formats()) {
        if (column >= range.start && column < range.start + range.length) return range.format;
    }
    return {};
}

double luminance(const QColor& colour)
{
    auto channel = [](double c) { return c <= 0.03928 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4); };
    return 0.2126 * channel(colour.redF()) + 0.7152 * channel(colour.greenF()) + 0.0722 * channel(colour.blueF());
}

double contrast(const QColor& a, const QColor& b)
{
    const double la = luminance(a);
    const double lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

TEST_F(Highlighting, EachLineIsPaintedAsTheTranslatorReadsIt)
{
    setEditorText(QStringLiteral("10 PRINT \"it's\" + 2 ' 注释\nprint \"open"));
    QPlainTextEdit& text = editor();
    struct Case {
        int line;
        int column;
        bool bold;
        bool italic;
        bool wavy;
    };
    const Case cases[] = {
        {0, 0, true, false, false},   // the label
        {0, 3, true, false, false},   // PRINT
        {0, 12, false, false, false}, // the apostrophe inside the literal
        {0, 21, false, true, false},  // the comment's mark
        {0, 23, false, false, false}, // Chinese in the comment: upright, no slanted imitation of italic
        {1, 8, false, false, true},   // the unclosed literal
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.line << ":" << c.column);
        const QTextCharFormat format = paintedAt(text, c.line, c.column);
        EXPECT_TRUE(format.hasProperty(QTextFormat::ForegroundBrush));
        EXPECT_EQ(format.fontWeight() == QFont::Bold, c.bold);
        EXPECT_EQ(format.fontItalic(), c.italic);
        EXPECT_EQ(format.underlineStyle() == QTextCharFormat::WaveUnderline, c.wavy);
    }
    EXPECT_FALSE(paintedAt(text, 0, 0).foreground() == paintedAt(text, 0, 3).foreground());
    EXPECT_FALSE(paintedAt(text, 0, 15).hasProperty(QTextFormat::ForegroundBrush)) << "a blank is not painted";
}

TEST_F(Highlighting, EditingALineRepaintsIt)
{
    setEditorText(QStringLiteral("x = 1"));
    EXPECT_FALSE(paintedAt(editor(), 0, 0).hasProperty(QTextFormat::ForegroundBrush));
    QTextCursor cursor(editor().document());
    cursor.insertText(QStringLiteral("' "));
    EXPECT_TRUE(paintedAt(editor(), 0, 2).fontItalic()) << "the line became a comment";
}

TEST_F(Highlighting, ADarkThemeGivesTheLightColoursAndBack)
{
    setEditorText(QStringLiteral("print 1"));
    const QColor lightKeyword = paintedAt(editor(), 0, 0).foreground().color();
    QPalette dark = editor().palette();
    dark.setColor(QPalette::Base, QColor(0x1e, 0x1e, 0x1e));
    dark.setColor(QPalette::Text, QColor(0xe0, 0xe0, 0xe0));
    editor().setPalette(dark);
    const QColor darkKeyword = paintedAt(editor(), 0, 0).foreground().color();
    EXPECT_GT(darkKeyword.lightness(), lightKeyword.lightness());
    EXPECT_GE(contrast(darkKeyword, dark.color(QPalette::Base)), 4.5);
    editor().setPalette(QPalette());
    EXPECT_EQ(paintedAt(editor(), 0, 0).foreground().color(), lightKeyword);
}

TEST(HighlighterColours, EveryKindIsReadableOnALightAndOnADarkBackground)
{
    for (const QColor base : {QColor(Qt::white), QColor(0xf5, 0xf5, 0xf0), QColor(0x1e, 0x1e, 0x1e), QColor(Qt::black)}) {
        SCOPED_TRACE(base.name().toStdString());
        QTextDocument document;
        const SourceHighlighter highlighter(&document, base);
        for (int kind = 0; kind < kKinds; ++kind) {
            SCOPED_TRACE(kind);
            EXPECT_GE(contrast(highlighter.formatOf(static_cast<LineStretchKind>(kind)).foreground().color(), base), 4.5);
        }
    }
}

// Kinds that sit next to each other in a line differ in more than hue:
// keywords and labels are bold, comments italic, an unclosed literal wavy.
TEST(HighlighterColours, KindsThatCarryMeaningHaveAMarkBesideTheirColour)
{
    QTextDocument document;
    const SourceHighlighter highlighter(&document, Qt::white);
    auto format = [&](LineStretchKind kind) { return highlighter.formatOf(kind); };
    EXPECT_EQ(format(LineStretchKind::Keyword).fontWeight(), QFont::Bold);
    EXPECT_EQ(format(LineStretchKind::Label).fontWeight(), QFont::Bold);
    EXPECT_TRUE(format(LineStretchKind::Comment).fontItalic());
    EXPECT_EQ(format(LineStretchKind::UnclosedLiteral).underlineStyle(), QTextCharFormat::WaveUnderline);
    EXPECT_NE(format(LineStretchKind::Literal).underlineStyle(), QTextCharFormat::WaveUnderline);
}

}  // namespace
}  // namespace tarnik::test
