#include "ui/ThemeStyle.h"

#include <QPainter>
#include <QStyleOption>

#include "ui/PresentationMode.h"

namespace tarnik {
namespace {

bool isEdge(QStyle::PrimitiveElement element)
{
    switch (element) {
    case QStyle::PE_Frame:
    case QStyle::PE_FrameLineEdit:
    case QStyle::PE_FrameMenu:
    case QStyle::PE_FrameGroupBox:
    case QStyle::PE_IndicatorCheckBox:
    case QStyle::PE_IndicatorRadioButton: return true;
    default: return false;
    }
}

bool growsWithText(QStyle::PixelMetric metric)
{
    switch (metric) {
    case QStyle::PM_IndicatorWidth:
    case QStyle::PM_IndicatorHeight:
    case QStyle::PM_ExclusiveIndicatorWidth:
    case QStyle::PM_ExclusiveIndicatorHeight:
    case QStyle::PM_SmallIconSize:
    case QStyle::PM_ButtonIconSize:
    case QStyle::PM_MessageBoxIconSize: return true;
    default: return false;
    }
}

}  // namespace

ThemeStyle::ThemeStyle(const QString& base, Look look) : QProxyStyle(base), m_look(look) {}

void ThemeStyle::drawPrimitive(PrimitiveElement element, const QStyleOption* option, QPainter* painter,
                               const QWidget* widget) const
{
    QProxyStyle::drawPrimitive(element, option, painter, widget);
    // A frame of no width (a box drawn flat) stays without an edge.
    const auto* frame = qstyleoption_cast<const QStyleOptionFrame*>(option);
    if (m_look != Look::Dark || !isEdge(element) || (frame && frame->lineWidth == 0)) return;
    painter->save();
    painter->setRenderHint(QPainter::Antialiasing, element == PE_IndicatorRadioButton);
    painter->setPen(option->palette.color(QPalette::Light));
    painter->setBrush(Qt::NoBrush);
    const QRect edge = option->rect.adjusted(0, 0, -1, -1);
    if (element == PE_IndicatorRadioButton) {
        painter->drawEllipse(edge);
    } else {
        painter->drawRect(edge);
    }
    painter->restore();
}

int ThemeStyle::pixelMetric(PixelMetric metric, const QStyleOption* option, const QWidget* widget) const
{
    const int size = QProxyStyle::pixelMetric(metric, option, widget);
    return growsWithText(metric) ? PresentationMode::instance().scaled(size) : size;
}

int ThemeStyle::styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                          QStyleHintReturn* returnData) const
{
    if (hint == SH_EtchDisabledText && m_look != Look::Desktop) return 0;
    return QProxyStyle::styleHint(hint, option, widget, returnData);
}

}  // namespace tarnik
