#include "ui/Theme.h"

#include <QApplication>
#include <QEvent>
#include <QPalette>
#include <QPointer>
#include <QStyle>
#include <array>

#include "ui/ThemeStyle.h"
#include "ui/storage/TarnikSettings.h"

namespace tarnik {
namespace {

const QString kThemeKey = QStringLiteral("View/Theme");
const QString kOwnStyle = QStringLiteral("Fusion");

// The stored names, in the order of ThemeChoice.
const std::array<QString, 4> kChoiceNames{QStringLiteral("system"), QStringLiteral("light"), QStringLiteral("dark"),
                                          QStringLiteral("high-contrast")};

ThemeChoice storedChoice()
{
    const QString stored = tarnikSettings().value(kThemeKey).toString();
    for (std::size_t i = 0; i < kChoiceNames.size(); ++i) {
        if (kChoiceNames[i] == stored) return static_cast<ThemeChoice>(i);
    }
    return ThemeChoice::System;
}

// One colour per set: light, dark, high contrast.
struct Shades {
    QColor light;
    QColor dark;
    QColor highContrast;

    [[nodiscard]] const QColor& in(ColourSet set) const
    {
        switch (set) {
        case ColourSet::Light: return light;
        case ColourSet::Dark: return dark;
        case ColourSet::HighContrast: return highContrast;
        }
        return light;
    }
};

// In the order of ThemeColour. The translucent tints lie under the text, so
// the text keeps its own colour on them. The console is dark in the light
// theme too: a program's output reads as a terminal's.
const std::array<Shades, 17> kThemeColours{{
    {{255, 190, 0, 90}, {255, 190, 0, 90}, {0, 110, 255, 150}},
    {{255, 190, 0, 110}, {255, 190, 0, 110}, {0, 110, 255, 150}},
    {{200, 30, 30}, {255, 110, 110}, {255, 90, 90}},
    {{190, 90, 0}, {240, 160, 70}, {255, 190, 0}},
    {{0, 0, 255}, {120, 180, 255}, {0, 255, 255}},
    {{170, 0, 0}, {255, 130, 130}, {255, 120, 120}},
    {{0x1e, 0x1e, 0x1e}, {0x1e, 0x1e, 0x1e}, {0, 0, 0}},
    {{255, 255, 255}, {0xe6, 0xe6, 0xe6}, {255, 255, 255}},
    {{0x3a, 0x6e, 0xa5}, {0x3a, 0x6e, 0xa5}, {0, 0, 0xd0}},
    {{0, 0, 0}, {255, 255, 255}, {0, 0, 0}},
    {{0xc8, 0xf0, 0xc8}, {0x2e, 0x5e, 0x2e}, {0x80, 0xff, 0x80}},
    {{0xf8, 0xc8, 0xc8}, {0x70, 0x2c, 0x2c}, {0xff, 0x90, 0x90}},
    {{0xf8, 0xe4, 0xb0}, {0x6a, 0x56, 0x1e}, {0xff, 0xe0, 0x60}},
    {{0xd8, 0xc8, 0xf0}, {0x48, 0x3a, 0x70}, {0xc8, 0xa8, 0xff}},
    {{0xe8, 0xc8, 0xe8}, {0x5e, 0x38, 0x5e}, {0xff, 0xa8, 0xff}},
    {{0xf0, 0xb0, 0x90}, {0x74, 0x42, 0x22}, {0xff, 0xb8, 0x60}},
    {{0xd8, 0xd8, 0xd8}, {0x4a, 0x4a, 0x4a}, {0xd8, 0xd8, 0xd8}},
}};

// Colours from a palette made for colour-blind readers (blue, vermillion,
// bluish green, reddish purple, orange), darkened for a light background,
// lightened for a dark one and brightest on high contrast's black. In the
// order of LineStretchKind.
const std::array<Shades, 7> kTokenColours{{
    {QColor(0x00, 0x60, 0xa0), QColor(0x6c, 0xc0, 0xf0), QColor(0x80, 0xd8, 0xff)},
    {QColor(0xb3, 0x47, 0x00), QColor(0xf0, 0xa0, 0x60), QColor(0xff, 0xb8, 0x70)},
    {QColor(0x00, 0x78, 0x5a), QColor(0x40, 0xd0, 0xa0), QColor(0x60, 0xff, 0xc0)},
    {QColor(0x00, 0x78, 0x5a), QColor(0x40, 0xd0, 0xa0), QColor(0x60, 0xff, 0xc0)},
    {QColor(0x6b, 0x6b, 0x6b), QColor(0xa8, 0xa8, 0xa8), QColor(0xd8, 0xd8, 0xd8)},
    {QColor(0x8a, 0x5a, 0x00), QColor(0xf0, 0xe0, 0x60), QColor(0xff, 0xff, 0x00)},
    {QColor(0xa0, 0x30, 0x6e), QColor(0xe8, 0x90, 0xc8), QColor(0xff, 0xa8, 0xe0)},
}};

struct Role {
    QPalette::ColorRole role;
    QColor colour;
};

// Starts from the shades Qt works out from the button and window colours,
// so that no role keeps the colour of the theme before.
QPalette paletteOf(const QColor& button, const QColor& window, std::initializer_list<Role> roles,
                   const QColor& disabledText)
{
    QPalette palette(button, window);
    for (const Role& role : roles) palette.setColor(role.role, role.colour);
    for (QPalette::ColorRole role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText}) {
        palette.setColor(QPalette::Disabled, role, disabledText);
    }
    return palette;
}

QPalette darkPalette()
{
    const QColor text(0xe6, 0xe6, 0xe6);
    return paletteOf(QColor(0x38, 0x38, 0x38), QColor(0x2d, 0x2d, 0x2d),
                     {{QPalette::Window, QColor(0x2d, 0x2d, 0x2d)}, {QPalette::WindowText, text},
                      {QPalette::Base, QColor(0x1e, 0x1e, 0x1e)}, {QPalette::AlternateBase, QColor(0x2a, 0x2a, 0x2a)},
                      {QPalette::Text, text}, {QPalette::Button, QColor(0x38, 0x38, 0x38)},
                      {QPalette::ButtonText, text}, {QPalette::BrightText, QColor(0xff, 0x70, 0x70)},
                      {QPalette::Highlight, QColor(0x3d, 0x7f, 0xd6)}, {QPalette::HighlightedText, Qt::white},
                      {QPalette::ToolTipBase, QColor(0x3a, 0x3a, 0x3a)}, {QPalette::ToolTipText, text},
                      {QPalette::PlaceholderText, QColor(0x90, 0x90, 0x90)}, {QPalette::Link, QColor(0x70, 0xb8, 0xff)},
                      {QPalette::LinkVisited, QColor(0xc8, 0x98, 0xff)}, {QPalette::Light, QColor(0x55, 0x55, 0x55)},
                      {QPalette::Midlight, QColor(0x44, 0x44, 0x44)}, {QPalette::Mid, QColor(0x2a, 0x2a, 0x2a)},
                      {QPalette::Dark, QColor(0x1a, 0x1a, 0x1a)}, {QPalette::Shadow, Qt::black}},
                     QColor(0x80, 0x80, 0x80));
}

// White on black, the selection black on yellow, and frames drawn light so
// that every box's edge is seen.
QPalette highContrastPalette()
{
    return paletteOf(Qt::black, Qt::black,
                     {{QPalette::Window, Qt::black}, {QPalette::WindowText, Qt::white}, {QPalette::Base, Qt::black},
                      {QPalette::AlternateBase, QColor(0x20, 0x20, 0x20)}, {QPalette::Text, Qt::white},
                      {QPalette::Button, Qt::black}, {QPalette::ButtonText, Qt::white},
                      {QPalette::BrightText, Qt::yellow}, {QPalette::Highlight, Qt::yellow},
                      {QPalette::HighlightedText, Qt::black}, {QPalette::ToolTipBase, Qt::black},
                      {QPalette::ToolTipText, Qt::white}, {QPalette::PlaceholderText, QColor(0xc0, 0xc0, 0xc0)},
                      {QPalette::Link, Qt::cyan}, {QPalette::LinkVisited, QColor(0xff, 0x90, 0xff)},
                      {QPalette::Light, Qt::white}, {QPalette::Midlight, QColor(0xc0, 0xc0, 0xc0)},
                      {QPalette::Mid, QColor(0xa0, 0xa0, 0xa0)}, {QPalette::Dark, QColor(0xc0, 0xc0, 0xc0)},
                      {QPalette::Shadow, Qt::white}},
                     QColor(0xa8, 0xa8, 0xa8));
}

QPalette ownPalette(ThemeChoice choice)
{
    switch (choice) {
    case ThemeChoice::Dark: return darkPalette();
    case ThemeChoice::HighContrast: return highContrastPalette();
    default: return QApplication::style()->standardPalette();
    }
}

// Text and background set together, so each block reads in every theme.
QString blockRules(const char* example, const char* mistake, const char* output, const char* text)
{
    return QStringLiteral("pre.example { background-color: %1; color: %4; }\n"
                          "pre.mistake { background-color: %2; color: %4; }\n"
                          "pre.output { background-color: %3; color: %4; }\n")
        .arg(QLatin1String(example), QLatin1String(mistake), QLatin1String(output), QLatin1String(text));
}

}  // namespace

QColor themeColour(ThemeColour colour, ColourSet set)
{
    return kThemeColours.at(static_cast<std::size_t>(colour)).in(set);
}

QColor tokenColour(LineStretchKind kind, ColourSet set)
{
    return kTokenColours.at(static_cast<std::size_t>(kind)).in(set);
}

Theme& Theme::instance()
{
    // Owned by the application, so that it goes before Qt does.
    static QPointer<Theme> theme;
    if (theme.isNull()) {
        theme = new Theme(qApp);
        theme->apply();
    }
    return *theme;
}

Theme::Theme(QObject* parent)
    : QObject(parent), m_choice(storedChoice()), m_platformStyle(QApplication::style()->name())
{
    qApp->installEventFilter(this);
}

void Theme::choose(ThemeChoice choice)
{
    if (choice == m_choice) return;
    m_choice = choice;
    tarnikSettings().setValue(kThemeKey, kChoiceNames.at(static_cast<std::size_t>(choice)));
    apply();
    emit changed();
}

ColourSet Theme::colourSetFor(const QColor& base) const
{
    if (m_choice == ThemeChoice::HighContrast) return ColourSet::HighContrast;
    return base.lightness() < 128 ? ColourSet::Dark : ColourSet::Light;
}

ColourSet Theme::colourSet() const
{
    return colourSetFor(QApplication::palette().color(QPalette::Base));
}

QString Theme::referenceBlockStyle() const
{
    switch (colourSet()) {
    case ColourSet::Light: return blockRules("#e6eef8", "#f8e6e6", "#e8e8e8", "#000000");
    case ColourSet::Dark: return blockRules("#1f2f42", "#422424", "#303030", "#e6e6e6");
    case ColourSet::HighContrast: return blockRules("#00005a", "#5a0000", "#262626", "#ffffff");
    }
    return {};
}

// Qt 6.4 cannot tell whether the desktop is light or dark: 跟随系统 keeps the
// desktop's own style and palette, whatever they are.
void Theme::apply()
{
    m_applying = true;
    if (m_choice == ThemeChoice::System) {
        QApplication::setStyle(new ThemeStyle(m_platformStyle, ThemeStyle::Look::Desktop));
        QApplication::setPalette(QPalette());
    } else {
        const bool light = m_choice == ThemeChoice::Light;
        QApplication::setStyle(new ThemeStyle(kOwnStyle, light ? ThemeStyle::Look::Light : ThemeStyle::Look::Dark));
        QApplication::setPalette(ownPalette(m_choice));
    }
    m_applying = false;
}

// Under 跟随系统 the desktop may change its palette while the IDE runs.
bool Theme::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::ApplicationPaletteChange && watched == qApp && !m_applying &&
        m_choice == ThemeChoice::System) {
        emit changed();
    }
    return QObject::eventFilter(watched, event);
}

}  // namespace tarnik
