#pragma once
// The run controller and the source files see the editor text with CR LF
// between lines; Qt's text widgets keep one block per line and hand out LF.
// These convert at that boundary, so that every position and text the rest of
// the program deals with counts a line break as CR LF.
#include <QString>
#include <string>
#include <string_view>

class QPlainTextEdit;

namespace tarnik {

// The widget's text with CR LF line ends (nothing else changed: no-break
// spaces stay what they are).
[[nodiscard]] std::u16string crLfText(const QPlainTextEdit& editor);

// A CR LF text as the widget holds it.
[[nodiscard]] QString widgetText(std::u16string_view crLfText);

[[nodiscard]] QString toQString(std::u16string_view text);

// The core's view of a QString's characters, without a copy; valid while
// `text` is unchanged.
[[nodiscard]] std::u16string_view textView(const QString& text);

}  // namespace tarnik
