#include "ui/ChineseUi.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace tarnik {
namespace {

// Without a Simplified Chinese font named first, fontconfig may pick the
// Japanese or Korean cut of the same family for Chinese text.
const QStringList kChineseFamilies{QStringLiteral("Noto Sans CJK SC"), QStringLiteral("Source Han Sans SC"),
                                   QStringLiteral("WenQuanYi Micro Hei"), QStringLiteral("Microsoft YaHei")};

}  // namespace

bool installChineseUi(QApplication& app)
{
    QLocale chinese(QLocale::Chinese, QLocale::China);
    QLocale::setDefault(chinese);
    app.setFont(uiFont({app.font().family()}, app.font().pointSize()));

    auto* translator = new QTranslator(&app);
    if (!translator->load(chinese, QStringLiteral("qtbase"), QStringLiteral("_"),
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        delete translator;
        return false;
    }
    QApplication::installTranslator(translator);
    return true;
}

QFont uiFont(const QStringList& families, int pointSize)
{
    QFont font;
    font.setFamilies(families + kChineseFamilies);
    font.setPointSize(pointSize);
    return font;
}

}  // namespace tarnik
