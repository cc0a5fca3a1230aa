#include "ui/WindowDock.h"

#include <QCloseEvent>
#include <QEvent>

namespace tarnik {

WindowDock::WindowDock(const QString& title, const QString& objectName, QWidget* parent) : QDockWidget(title, parent)
{
    setObjectName(objectName);
    setAccessibleName(title);
    setFeatures(QDockWidget::DockWidgetClosable | QDockWidget::DockWidgetMovable | QDockWidget::DockWidgetFloatable);
    hide();
}

void WindowDock::hold(QWidget& window)
{
    if (m_window == &window) return;
    const bool shown = window.isVisible();
    m_window = &window;
    m_windowFlags = window.windowFlags();
    setWidget(&window);  // makes it a child; QDockWidget shows what it holds
    window.installEventFilter(this);
    // A window that was hidden stays so: only its own show brings the dock.
    if (shown) {
        show();
    } else {
        window.hide();
        hide();
    }
}

void WindowDock::release()
{
    if (!m_window) return;
    QWidget* window = m_window;
    const bool shown = isVisible() && !window->isHidden();
    window->removeEventFilter(this);
    m_window = nullptr;
    setWidget(nullptr);
    window->setParent(nullptr, m_windowFlags);
    hide();
    if (shown) window->show();
}

void WindowDock::discard()
{
    delete m_window;
    hide();
}

// The window's own show and hide (the run's console, End, the debugger's
// buttons) show and hide the dock; a hide because the dock went is not one.
bool WindowDock::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_window) {
        if (event->type() == QEvent::ShowToParent) show();
        if (event->type() == QEvent::HideToParent) hide();
    }
    return QDockWidget::eventFilter(watched, event);
}

void WindowDock::closeEvent(QCloseEvent* event)
{
    if (m_window) m_window->close();
    // The console only hides on close; the dock goes with it either way.
    if (m_window && !m_window->isHidden()) m_window->hide();
    event->accept();
}

}  // namespace tarnik
