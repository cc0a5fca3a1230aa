#include "ui/editor/SourceHighlighter.h"

#include "services/FullWidthSlips.h"
#include "services/LineColouring.h"
#include "ui/EditorText.h"

namespace tarnik {
namespace {

// Colours from a palette made for colour-blind readers (blue, vermillion,
// bluish green, reddish purple, orange), darkened for a light background and
// lightened for a dark one. Order: keyword, number, literal, unclosed
// literal, comment, label, operator.
struct Look {
    const char* light;
    const char* dark;
    bool bold;
    bool italic;
};
constexpr std::array<Look, 7> kLooks{{
    {"#0060a0", "#6cc0f0", true, false},
    {"#b34700", "#f0a060", false, false},
    {"#00785a", "#40d0a0", false, false},
    {"#00785a", "#40d0a0", false, false},
    {"#6b6b6b", "#a8a8a8", false, true},
    {"#8a5a00", "#f0e060", true, false},
    {"#a0306e", "#e890c8", false, false},
}};
constexpr int kUnclosedLiteral = static_cast<int>(LineStretchKind::UnclosedLiteral);

bool isDark(const QColor& base)
{
    return base.lightness() < 128;
}

}  // namespace

SourceHighlighter::SourceHighlighter(QTextDocument* document, const QColor& base)
    : QSyntaxHighlighter(document), m_dark(isDark(base))
{
    makeFormats(m_dark);
}

void SourceHighlighter::setBackground(const QColor& base)
{
    if (isDark(base) == m_dark) return;
    m_dark = isDark(base);
    makeFormats(m_dark);
    rehighlight();
}

void SourceHighlighter::makeFormats(bool dark)
{
    for (std::size_t kind = 0; kind < kLooks.size(); ++kind) {
        const Look& look = kLooks[kind];
        QTextCharFormat& format = m_formats[kind];
        format = QTextCharFormat();
        format.setForeground(QColor(QLatin1String(dark ? look.dark : look.light)));
        if (look.bold) format.setFontWeight(QFont::Bold);
        format.setFontItalic(look.italic);
    }
    QTextCharFormat& unclosed = m_formats[kUnclosedLiteral];
    unclosed.setUnderlineStyle(QTextCharFormat::WaveUnderline);
    unclosed.setUnderlineColor(m_formats[static_cast<int>(LineStretchKind::Number)].foreground().color());
}

void SourceHighlighter::highlightBlock(const QString& text)
{
    for (const LineStretch& stretch : colourLine(textView(text))) {
        const auto start = static_cast<int>(stretch.start);
        const auto length = static_cast<int>(stretch.length);
        const QTextCharFormat& look = m_formats[static_cast<std::size_t>(stretch.kind)];
        setFormat(start, length, look);
        if (look.fontItalic()) uprightChineseIn(text, start, length);
    }
    markSlips(text);
}

// Chinese fonts have no italic: Qt would slant the characters instead, which
// is hard to read. Chinese text in a comment stays upright (its colour says
// that it is a comment).
void SourceHighlighter::uprightChineseIn(const QString& text, int start, int length)
{
    for (int i = start; i < start + length; ++i) {
        if (text[i].unicode() < 0x2E80) continue;  // below the CJK blocks
        QTextCharFormat upright = format(i);
        upright.setFontItalic(false);
        setFormat(i, 1, upright);
    }
}

// The slip keeps the colour of what it stands in, and gets the underline
// of an unclosed literal.
void SourceHighlighter::markSlips(const QString& text)
{
    const QTextCharFormat& unclosed = m_formats[kUnclosedLiteral];
    for (const FullWidthSlip& slip : fullWidthSlips(textView(text))) {
        const int at = static_cast<int>(slip.start);
        QTextCharFormat marked = format(at);
        marked.setUnderlineStyle(unclosed.underlineStyle());
        marked.setUnderlineColor(unclosed.underlineColor());
        setFormat(at, 1, marked);
    }
}

}  // namespace tarnik
