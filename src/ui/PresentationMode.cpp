#include "ui/PresentationMode.h"

#include <QApplication>
#include <QPointer>
#include <QScreen>
#include <QWidget>
#include <algorithm>
#include <cmath>

#include "ui/storage/TarnikSettings.h"

namespace tarnik {
namespace {

const QString kOnKey = QStringLiteral("View/Presentation");
const QString kPercentKey = QStringLiteral("View/PresentationScale");

bool isOffered(int percent)
{
    return std::find(PresentationMode::kPercents.begin(), PresentationMode::kPercents.end(), percent) !=
           PresentationMode::kPercents.end();
}

}  // namespace

PresentationMode& PresentationMode::instance()
{
    // Owned by the application, so that it goes before Qt does.
    static QPointer<PresentationMode> mode;
    if (mode.isNull()) {
        mode = new PresentationMode(qApp);
        mode->apply();
    }
    return *mode;
}

// Created after the Chinese font is the application's, which is the normal one.
PresentationMode::PresentationMode(QObject* parent) : QObject(parent), m_normalFont(QApplication::font())
{
    QSettings settings = tarnikSettings();
    m_on = settings.value(kOnKey).toBool();
    bool isNumber = false;
    const int stored = settings.value(kPercentKey).toInt(&isNumber);
    if (isNumber && isOffered(stored)) m_percent = stored;
}

double PresentationMode::factor() const
{
    return m_on ? m_percent / 100.0 : 1.0;
}

int PresentationMode::scaled(int size) const
{
    return static_cast<int>(std::lround(size * factor()));
}

QSize PresentationMode::windowSize(QSize normal, const QWidget& window) const
{
    const QSize grown(scaled(normal.width()), scaled(normal.height()));
    const QScreen* screen = window.screen();
    return screen ? grown.boundedTo(screen->availableGeometry().size()) : grown;
}

void PresentationMode::setOn(bool on)
{
    if (on == m_on) return;
    m_on = on;
    tarnikSettings().setValue(kOnKey, on);
    apply();
    emit changed();
}

void PresentationMode::setPercent(int percent)
{
    if (percent == m_percent || !isOffered(percent)) return;
    m_percent = percent;
    tarnikSettings().setValue(kPercentKey, percent);
    apply();
    emit changed();
}

// A font given in pixels (some platforms do) grows in pixels.
void PresentationMode::apply()
{
    QFont font = m_normalFont;
    if (font.pointSizeF() > 0) {
        font.setPointSizeF(scaled(font.pointSizeF()));
    } else {
        font.setPixelSize(scaled(font.pixelSize()));
    }
    QApplication::setFont(font);
}

}  // namespace tarnik
