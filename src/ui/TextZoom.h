#pragma once
// One text size for the program and the console: a monospaced font with
// Chinese glyph forms, zoomed by the View commands (Ctrl+= / Ctrl+- / Ctrl+0)
// or Ctrl+wheel over either box, and kept in the settings (Editor/FontSize)
// for the next start. Both boxes follow every change, so the program and its
// output always read at the same size. 演示模式 (PresentationMode) shows the
// font bigger by its factor without changing the size kept here.
#include <QFont>
#include <QObject>

class QAction;
class QPlainTextEdit;
class QWidget;

namespace tarnik {

class TextZoom : public QObject {
    Q_OBJECT

public:
    static constexpr int kDefaultPointSize = 12;
    static constexpr int kMinPointSize = 6;
    static constexpr int kMaxPointSize = 48;

    explicit TextZoom(QObject* parent = nullptr);

    // The pupil's size, without 演示模式's factor; font() has both.
    [[nodiscard]] int pointSize() const { return m_pointSize; }
    [[nodiscard]] QFont font() const;

    // `box` shows the present size now and after every change, and Ctrl+wheel
    // over it zooms.
    void attach(QPlainTextEdit& box);
    // Gives the three commands their keys and tooltips and makes them zoom.
    void connectCommands(QAction& zoomIn, QAction& zoomOut, QAction& original);
    // The three commands as keys of `window`, for a window without a View menu.
    void addCommands(QWidget& window);

    void zoomIn() { setPointSize(m_pointSize + 1); }
    void zoomOut() { setPointSize(m_pointSize - 1); }
    void original() { setPointSize(kDefaultPointSize); }

signals:
    void changed();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void setPointSize(int pointSize);

    int m_pointSize = kDefaultPointSize;
    int m_wheelAngle = 0;  // turned but not yet a whole notch
};

}  // namespace tarnik
