#include "ui/EditorText.h"

#include <QPlainTextEdit>
#include <QTextDocument>

namespace tarnik {

std::u16string crLfText(const QPlainTextEdit& editor)
{
    // toPlainText() would turn no-break spaces into blanks; the raw text
    // keeps them and separates blocks with U+2029.
    QString text = editor.document()->toRawText();
    text.replace(QChar::ParagraphSeparator, QStringLiteral("\r\n"));
    return text.toStdU16String();
}

QString widgetText(std::u16string_view crLfText)
{
    QString text = toQString(crLfText);
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    return text;
}

QString toQString(std::u16string_view text)
{
    return QString::fromUtf16(text.data(), static_cast<qsizetype>(text.size()));
}

std::u16string_view textView(const QString& text)
{
    return {reinterpret_cast<const char16_t*>(text.utf16()), static_cast<std::size_t>(text.size())};
}

}  // namespace tarnik
