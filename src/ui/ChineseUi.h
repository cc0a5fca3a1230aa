#pragma once
// The IDE speaks Chinese throughout: Qt's own dialogs and buttons included,
// and with fonts that draw Chinese characters in their Simplified Chinese forms.
#include <QFont>
#include <QStringList>

class QApplication;

namespace tarnik {

// Loads Qt's Chinese translations (是/否/取消/确定 on standard buttons),
// makes Chinese the default locale and gives the application a font whose
// Chinese glyphs are the Simplified ones. Returns false when the translations
// are not installed.
bool installChineseUi(QApplication& app);

// A font of the first of `families` that exists, falling back on a Chinese
// font for characters it does not have.
[[nodiscard]] QFont uiFont(const QStringList& families, int pointSize);

}  // namespace tarnik
