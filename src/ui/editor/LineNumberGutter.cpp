#include "ui/editor/LineNumberGutter.h"

#include <QContextMenuEvent>
#include <QHelpEvent>
#include <QMouseEvent>
#include <QToolTip>

#include "ui/editor/SourceEditor.h"

namespace tarnik {

LineNumberGutter::LineNumberGutter(SourceEditor& editor) : QWidget(&editor), m_editor(editor)
{
    setObjectName(QStringLiteral("lineNumberGutter"));
    setAccessibleName(QStringLiteral("行号栏"));
    setAccessibleDescription(QStringLiteral("每行的行号和标记：● 断点，▶ 将要运行的行，◆ 没有结束的块开始的行。"
                                            "键盘上用 Ctrl+B 切换光标所在行的断点。"));
}

QSize LineNumberGutter::sizeHint() const
{
    return {m_editor.gutterWidth(), 0};
}

bool LineNumberGutter::event(QEvent* event)
{
    if (event->type() != QEvent::ToolTip) return QWidget::event(event);
    const auto* help = static_cast<QHelpEvent*>(event);
    const QString tip = m_editor.gutterToolTipAt(help->pos());
    if (tip.isEmpty()) {
        QToolTip::hideText();
    } else {
        QToolTip::showText(help->globalPos(), tip, this);
    }
    return true;
}

void LineNumberGutter::paintEvent(QPaintEvent* event)
{
    m_editor.paintGutter(*event);
}


void LineNumberGutter::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton) return QWidget::mousePressEvent(event);
    m_editor.gutterClicked(event->position().toPoint());
}

void LineNumberGutter::contextMenuEvent(QContextMenuEvent* event)
{
    m_editor.showGutterMenu(event->pos(), event->globalPos());
}

}  // namespace tarnik
