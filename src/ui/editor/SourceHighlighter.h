#pragma once
// Colours the program text as the translator reads it (colourLine in the
// core decides; this class only paints). Every kind differs in more than its
// colour, for readers who do not tell the colours apart: keywords and labels
// are bold, comments italic, an unclosed literal and a full-width slip (see
// fullWidthSlips) have a wavy underline. The colours come in a light and a
// dark set, chosen by the editor's background, and change sets when the
// desktop's theme changes it.
#include <QSyntaxHighlighter>
#include <QTextCharFormat>
#include <array>

#include "services/LineColouring.h"

namespace tarnik {

class SourceHighlighter : public QSyntaxHighlighter {
    Q_OBJECT

public:
    // Colours `document` for a background of `base` colour.
    SourceHighlighter(QTextDocument* document, const QColor& base);

    [[nodiscard]] const QTextCharFormat& formatOf(LineStretchKind kind) const
    {
        return m_formats.at(static_cast<std::size_t>(kind));
    }
    // Takes the colour set for a background of `base` colour; the text is
    // coloured again only when that is another set.
    void setBackground(const QColor& base);

protected:
    void highlightBlock(const QString& text) override;

private:
    void makeFormats(bool dark);
    void markSlips(const QString& text);
    void uprightChineseIn(const QString& text, int start, int length);

    std::array<QTextCharFormat, 7> m_formats;
    bool m_dark = false;
};

}  // namespace tarnik
