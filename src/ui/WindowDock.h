#pragma once
// A dock of the editor window that holds one of the IDE's own windows (the
// console, the debugger) while 单窗口布局 is on, so that on a small screen
// or a projector it sits beside or below the program instead of over it.
// The window keeps its own logic: the dock shows and hides with it, and
// closing the dock closes the window, as the window's close box does (for
// the console that ends the run).
#include <QDockWidget>
#include <QPointer>

namespace tarnik {

class WindowDock : public QDockWidget {
    Q_OBJECT

public:
    WindowDock(const QString& title, const QString& objectName, QWidget* parent);

    // Takes `window` in as the dock's content; shown when the window is.
    void hold(QWidget& window);
    // Gives the window back as a window of its own, where it was, and hides the dock.
    void release();
    // The window held is gone with its owner's end: deleted and the dock hidden.
    void discard();
    [[nodiscard]] QWidget* held() const { return m_window; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    QPointer<QWidget> m_window;
    Qt::WindowFlags m_windowFlags;  // of the window before it came in
};

}  // namespace tarnik
