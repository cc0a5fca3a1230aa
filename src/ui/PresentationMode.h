#pragma once
// 演示模式: one switch that makes everything a projector shows bigger by the
// factor the teacher picks (125 … 200 %). The application font grows, and
// with it every window, dialog, menu and list that has no font of its own;
// the code font (TextZoom) and the few fonts and sizes set by hand follow
// scaled(). The pupil's own zoom stays what it was: the factor lies on top of
// it. Whether the mode is on and its factor are kept apart from the zoom
// (View/Presentation, View/PresentationScale).
//
// Sizes are in points and in Qt's device-independent pixels, so a window
// moved to a screen with another scale factor needs nothing from here.
#include <QFont>
#include <QObject>
#include <QSize>
#include <array>

class QWidget;

namespace tarnik {

class PresentationMode : public QObject {
    Q_OBJECT

public:
    static constexpr std::array kPercents{125, 150, 175, 200};
    static constexpr int kDefaultPercent = 150;

    // The application's one mode; the first call puts on the stored state.
    [[nodiscard]] static PresentationMode& instance();

    [[nodiscard]] bool isOn() const { return m_on; }
    [[nodiscard]] int percent() const { return m_percent; }
    // 1 while the mode is off.
    [[nodiscard]] double factor() const;
    // `size` (points or pixels) as the mode shows it.
    [[nodiscard]] double scaled(double size) const { return size * factor(); }
    [[nodiscard]] int scaled(int size) const;
    // A window's first size, `normal` with the mode off: grown as its text
    // is, yet within the screen `window` is on.
    [[nodiscard]] QSize windowSize(QSize normal, const QWidget& window) const;

    // Each keeps the state for the next start and tells changed().
    void setOn(bool on);
    // One of kPercents; others are ignored.
    void setPercent(int percent);

signals:
    void changed();

private:
    explicit PresentationMode(QObject* parent);
    void apply();

    QFont m_normalFont;  // the application font with the mode off
    bool m_on = false;
    int m_percent = kDefaultPercent;
};

}  // namespace tarnik
