#pragma once
// The strip left of the program text that shows each line's number. It only
// forwards its size, painting, tooltips, clicks and context menu to the
// editor, which knows the lines.
#include <QWidget>

namespace tarnik {

class SourceEditor;

class LineNumberGutter : public QWidget {
    Q_OBJECT

public:
    explicit LineNumberGutter(SourceEditor& editor);

    [[nodiscard]] QSize sizeHint() const override;

protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    SourceEditor& m_editor;
};

}  // namespace tarnik
