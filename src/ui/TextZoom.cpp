#include "ui/TextZoom.h"

#include <QAction>
#include <QPlainTextEdit>
#include <QWheelEvent>
#include <algorithm>

#include "ui/ChineseUi.h"
#include "ui/PresentationMode.h"
#include "ui/storage/TarnikSettings.h"

namespace tarnik {
namespace {

constexpr int kWheelNotch = 120;  // eighths of a degree

const QString kFontSizeKey = QStringLiteral("Editor/FontSize");

// A monospaced face first: Chinese characters then take two columns and the
// program's columns line up. The families after it cover systems without it.
const QStringList kCodeFamilies{QStringLiteral("Noto Sans Mono CJK SC"), QStringLiteral("Sarasa Mono SC"),
                                QStringLiteral("WenQuanYi Zen Hei Mono"), QStringLiteral("DejaVu Sans Mono"),
                                QStringLiteral("Consolas")};

// The platform's own zoom keys are added unless they are ours already: one key
// twice on an action makes it ambiguous, and it does nothing.
void setKeys(QAction& action, QList<QKeySequence> keys, QKeySequence::StandardKey platformKeys, const QString& name)
{
    for (const QKeySequence& key : QKeySequence::keyBindings(platformKeys)) {
        if (!keys.contains(key)) keys.append(key);
    }
    action.setShortcuts(keys);
    action.setToolTip(QStringLiteral("%1 (%2)").arg(name, keys.first().toString(QKeySequence::NativeText)));
}

}  // namespace

TextZoom::TextZoom(QObject* parent) : QObject(parent)
{
    bool isNumber = false;
    const int stored = tarnikSettings().value(kFontSizeKey).toInt(&isNumber);
    if (isNumber) m_pointSize = std::clamp(stored, kMinPointSize, kMaxPointSize);
    connect(&PresentationMode::instance(), &PresentationMode::changed, this, &TextZoom::changed);
}

QFont TextZoom::font() const
{
    QFont font = uiFont(kCodeFamilies, m_pointSize);
    font.setPointSizeF(PresentationMode::instance().scaled(static_cast<double>(m_pointSize)));
    font.setStyleHint(QFont::Monospace);
    font.setFixedPitch(true);
    return font;
}

void TextZoom::attach(QPlainTextEdit& box)
{
    box.setFont(font());
    connect(this, &TextZoom::changed, &box, [this, &box] { box.setFont(font()); });
    box.viewport()->installEventFilter(this);
}

void TextZoom::connectCommands(QAction& zoomIn, QAction& zoomOut, QAction& original)
{
    setKeys(zoomIn, {QKeySequence(Qt::CTRL | Qt::Key_Equal), QKeySequence(Qt::CTRL | Qt::Key_Plus)},
            QKeySequence::ZoomIn, QStringLiteral("放大"));
    setKeys(zoomOut, {QKeySequence(Qt::CTRL | Qt::Key_Minus)}, QKeySequence::ZoomOut, QStringLiteral("缩小"));
    setKeys(original, {QKeySequence(Qt::CTRL | Qt::Key_0)}, QKeySequence::UnknownKey, QStringLiteral("原始大小"));
    connect(&zoomIn, &QAction::triggered, this, &TextZoom::zoomIn);
    connect(&zoomOut, &QAction::triggered, this, &TextZoom::zoomOut);
    connect(&original, &QAction::triggered, this, &TextZoom::original);
}

void TextZoom::addCommands(QWidget& window)
{
    auto* zoomInCommand = new QAction(QStringLiteral("放大(&I)"), &window);
    auto* zoomOutCommand = new QAction(QStringLiteral("缩小(&O)"), &window);
    auto* originalCommand = new QAction(QStringLiteral("原始大小(&R)"), &window);
    zoomInCommand->setObjectName(QStringLiteral("zoomIn"));
    zoomOutCommand->setObjectName(QStringLiteral("zoomOut"));
    originalCommand->setObjectName(QStringLiteral("zoomOriginal"));
    connectCommands(*zoomInCommand, *zoomOutCommand, *originalCommand);
    window.addActions({zoomInCommand, zoomOutCommand, originalCommand});
}

// The box's own Ctrl+wheel zoom would change only that box, and forget it.
bool TextZoom::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() != QEvent::Wheel) return QObject::eventFilter(watched, event);
    const auto& wheel = *static_cast<QWheelEvent*>(event);
    if (!(wheel.modifiers() & Qt::ControlModifier)) return false;
    // A touchpad turns the wheel in small parts of a notch; a step is a notch.
    m_wheelAngle += wheel.angleDelta().y();
    for (; m_wheelAngle >= kWheelNotch; m_wheelAngle -= kWheelNotch) zoomIn();
    for (; m_wheelAngle <= -kWheelNotch; m_wheelAngle += kWheelNotch) zoomOut();
    return true;
}

void TextZoom::setPointSize(int pointSize)
{
    pointSize = std::clamp(pointSize, kMinPointSize, kMaxPointSize);
    if (pointSize == m_pointSize) return;
    m_pointSize = pointSize;
    tarnikSettings().setValue(kFontSizeKey, m_pointSize);
    emit changed();
}

}  // namespace tarnik
