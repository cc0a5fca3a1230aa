#pragma once
// The IDE's look, chosen in 视图 → 主题 and kept in the settings (View/Theme):
// 跟随系统 keeps the desktop's own style and palette; 浅色, 深色 and 高对比度
// put Qt's Fusion style with a palette of ours on every window at once.
//
// The colours that carry a meaning (the paused line, a breakpoint, a verdict,
// the program's token kinds …) live here too, each in three sets: dark marks
// for a light background, light marks for a dark one, and the strongest
// ones for high contrast. A window takes its colours from the set that suits
// the palette in use and colours itself again on changed(), so that no
// window keeps the colours of the theme before. A mark (●, ▶, ✔, a wavy
// line) always goes with such a colour, so no meaning rests on colour alone.
#include <QColor>
#include <QObject>
#include <QString>

#include "services/LineColouring.h"

class QEvent;

namespace tarnik {

enum class ThemeChoice { System, Light, Dark, HighContrast };

enum class ColourSet { Light, Dark, HighContrast };

enum class ThemeColour {
    PausedLine,     // translucent, under the text
    DifferingLine,  // translucent, under the text
    Breakpoint,
    UnclosedBlock,
    CurrentLine,  // the debugger's line about to run
    ErrorText,    // a watch that could not be worked out
    ConsoleBase,
    ConsoleText,
    ConsoleSelection,
    VerdictText,
    VerdictAccepted,
    VerdictWrongAnswer,
    VerdictPresentation,
    VerdictTimeLimit,
    VerdictOutputLimit,
    VerdictRuntimeError,
    VerdictCompileError,
};

[[nodiscard]] QColor themeColour(ThemeColour colour, ColourSet set);
[[nodiscard]] QColor tokenColour(LineStretchKind kind, ColourSet set);

class Theme : public QObject {
    Q_OBJECT

public:
    // The application's one theme; the first call puts on the stored choice.
    [[nodiscard]] static Theme& instance();

    [[nodiscard]] ThemeChoice choice() const { return m_choice; }
    // Puts `choice` on every window, keeps it for the next start and tells changed().
    void choose(ThemeChoice choice);

    // The set for text on `base` (the high-contrast one while that theme is on).
    [[nodiscard]] ColourSet colourSetFor(const QColor& base) const;
    // The set for the application's palette now.
    [[nodiscard]] ColourSet colourSet() const;
    [[nodiscard]] QColor colour(ThemeColour colour) const { return themeColour(colour, colourSet()); }
    // The reference's example, mistake and output blocks, as style sheet rules.
    [[nodiscard]] QString referenceBlockStyle() const;

signals:
    void changed();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    explicit Theme(QObject* parent);
    void apply();

    ThemeChoice m_choice = ThemeChoice::System;
    QString m_platformStyle;  // the desktop's own style, for 跟随系统
    bool m_applying = false;  // our own palette change is no change of the desktop's
};

}  // namespace tarnik
