#pragma once
// Colours the program text as the translator reads it (colourLine in the
// core decides; this class only paints). Every kind differs in more than its
// colour, for readers who do not tell the colours apart: keywords and labels
// are bold, comments italic, an unclosed literal has a wavy underline. The
// colours come in a light and a dark set, chosen by the editor's background.
#include <QSyntaxHighlighter>
#include <QTextCharFormat>
#include <array>

namespace tarnik {

class SourceHighlighter : public QSyntaxHighlighter {
    Q_OBJECT

public:
    // Colours `document` for a background of `base` colour.
    SourceHighlighter(QTextDocument* document, const QColor& base);

    // The format of each LineStretchKind, in the order of that enumeration.
    [[nodiscard]] const QTextCharFormat& formatOf(int kind) const { return m_formats.at(static_cast<std::size_t>(kind)); }

protected:
    void highlightBlock(const QString& text) override;

private:
    std::array<QTextCharFormat, 7> m_formats;
};

}  // namespace tarnik
