#include "ui/editor/LineNumberGutter.h"

#include "ui/editor/SourceEditor.h"

namespace tarnik {

LineNumberGutter::LineNumberGutter(SourceEditor& editor) : QWidget(&editor), m_editor(editor)
{
    setObjectName(QStringLiteral("lineNumberGutter"));
}

QSize LineNumberGutter::sizeHint() const
{
    return {m_editor.gutterWidth(), 0};
}

void LineNumberGutter::paintEvent(QPaintEvent* event)
{
    m_editor.paintGutter(*event);
}

}  // namespace tarnik
