#pragma once
// Colours the program text as the translator reads it (colourLine in the
// core decides; this class only paints). Every kind differs in more than its
// colour, for readers who do not tell the colours apart: keywords and labels
// are bold, comments italic, an unclosed literal and a full-width slip (see
// fullWidthSlips) have a wavy underline. The colours are the theme's, in the
// set that suits the editor's background, and change sets when the theme or
// the background changes.
#include <QSyntaxHighlighter>
#include <QTextCharFormat>
#include <array>

#include "services/LineColouring.h"
#include "ui/Theme.h"

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
    // Takes the colour set for a background of `base` colour in the present
    // theme; the text is coloured again only when that is another set.
    void setBackground(const QColor& base);

protected:
    void highlightBlock(const QString& text) override;

private:
    void makeFormats();
    void markSlips(const QString& text);
    void uprightChineseIn(const QString& text, int start, int length);

    std::array<QTextCharFormat, 7> m_formats;
    ColourSet m_set = ColourSet::Light;
};

}  // namespace tarnik
