#pragma once
// The IDE's style: the desktop's own under 跟随系统, Qt's Fusion (the same on
// every desktop) for the themes of our own. In every theme the check boxes,
// radio buttons and small icons grow with 演示模式, as the text does (a
// ticked breakpoint in the debugger is a check box).
//
// On our own themes, two changes to Fusion: it draws the edges of boxes,
// check boxes and menus a shade darker than the window, which is lost on a
// dark window, so on a dark theme they are drawn again in the palette's
// light colour; and disabled text is not etched, whose light shadow would
// blur it on a dark window.
#include <QProxyStyle>

namespace tarnik {

class ThemeStyle : public QProxyStyle {
    Q_OBJECT

public:
    enum class Look { Desktop, Light, Dark };

    // `base`: the name of the style drawn on (the desktop's, or Fusion).
    ThemeStyle(const QString& base, Look look);

    void drawPrimitive(PrimitiveElement element, const QStyleOption* option, QPainter* painter,
                       const QWidget* widget = nullptr) const override;
    int pixelMetric(PixelMetric metric, const QStyleOption* option = nullptr,
                    const QWidget* widget = nullptr) const override;
    int styleHint(StyleHint hint, const QStyleOption* option = nullptr, const QWidget* widget = nullptr,
                  QStyleHintReturn* returnData = nullptr) const override;

private:
    Look m_look;
};

}  // namespace tarnik
