#include "ui/Announcer.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <utility>

namespace tarnik {
namespace {

// The bridge reads the label as an alert, its name the announcement.
QAccessibleInterface* alertInterface(const QString& className, QObject* object)
{
    if (className != QLatin1String("tarnik::Announcer") || !object->isWidgetType()) return nullptr;
    return new QAccessibleWidget(static_cast<QWidget*>(object), QAccessible::AlertMessage);
}

}  // namespace

Announcer::Announcer(QWidget* parent) : QLabel(parent)
{
    static const bool installed = [] {
        QAccessible::installFactory(alertInterface);
        return true;
    }();
    (void)installed;
    setObjectName(QStringLiteral("sbAnnouncement"));
    setAccessibleDescription(QStringLiteral("运行的开始和结束、错误和控制台的最新一行"));
    m_lineDelay.setSingleShot(true);
    m_lineDelay.setInterval(kLineIntervalMs);
    connect(&m_lineDelay, &QTimer::timeout, this, &Announcer::sayPendingLine);
}

void Announcer::announce(const QString& text)
{
    sayPendingLine();
    say(text);
}

void Announcer::announceLine(const QString& line)
{
    m_pendingLine = line;
    if (!m_lineDelay.isActive()) sayPendingLine();
}

void Announcer::sayPendingLine()
{
    if (m_pendingLine.isEmpty()) return;
    say(std::exchange(m_pendingLine, QString()));
    m_lineDelay.start();
}

void Announcer::say(const QString& text)
{
    setText(text);
    setAccessibleName(text);
    QAccessibleEvent named(this, QAccessible::NameChanged);
    QAccessible::updateAccessibility(&named);
    // Shown anew, the alert is read out even when its text is the same as before.
    QAccessibleEvent shown(this, QAccessible::ObjectShow);
    QAccessible::updateAccessibility(&shown);
    QAccessibleEvent alert(this, QAccessible::Alert);
    QAccessible::updateAccessibility(&alert);
    emit said(text);
}

}  // namespace tarnik
