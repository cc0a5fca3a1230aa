#include "ui/editor/SourceHighlighter.h"

#include "services/FullWidthSlips.h"
#include "services/LineColouring.h"
#include "ui/EditorText.h"

namespace tarnik {
namespace {

// Which kinds are bold or italic, in the order of LineStretchKind.
struct Emphasis {
    bool bold;
    bool italic;
};
constexpr std::array<Emphasis, 7> kEmphasis{{
    {true, false},
    {false, false},
    {false, false},
    {false, false},
    {false, true},
    {true, false},
    {false, false},
}};
constexpr int kUnclosedLiteral = static_cast<int>(LineStretchKind::UnclosedLiteral);

}  // namespace

SourceHighlighter::SourceHighlighter(QTextDocument* document, const QColor& base)
    : QSyntaxHighlighter(document), m_set(Theme::instance().colourSetFor(base))
{
    makeFormats();
}

void SourceHighlighter::setBackground(const QColor& base)
{
    const ColourSet set = Theme::instance().colourSetFor(base);
    if (set == m_set) return;
    m_set = set;
    makeFormats();
    rehighlight();
}

void SourceHighlighter::makeFormats()
{
    for (std::size_t kind = 0; kind < kEmphasis.size(); ++kind) {
        QTextCharFormat& format = m_formats[kind];
        format = QTextCharFormat();
        format.setForeground(tokenColour(static_cast<LineStretchKind>(kind), m_set));
        if (kEmphasis[kind].bold) format.setFontWeight(QFont::Bold);
        format.setFontItalic(kEmphasis[kind].italic);
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
