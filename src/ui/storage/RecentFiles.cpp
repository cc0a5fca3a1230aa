#include "ui/storage/RecentFiles.h"

#include <QAction>
#include <QDir>
#include <QFileInfo>
#include <QMenu>

#include "ui/storage/TarnikSettings.h"

namespace tarnik {
namespace {

const QString kRecentFilesKey = QStringLiteral("Editor/RecentFiles");

}  // namespace

RecentFiles::RecentFiles(QMenu& menu, QAction& before) : QObject(&menu), m_menu(menu), m_before(before)
{
    m_files = tarnikSettings().value(kRecentFilesKey).toStringList();
    m_files.removeAll(QString());
    while (m_files.size() > kMaxFiles) m_files.removeLast();
    showInMenu();
}

// The same file reached by another way (a relative path, "..") is one entry.
void RecentFiles::add(const QString& path)
{
    const QString absolute = QFileInfo(path).absoluteFilePath();
    m_files.removeAll(absolute);
    m_files.prepend(absolute);
    while (m_files.size() > kMaxFiles) m_files.removeLast();
    store();
}

void RecentFiles::remove(const QString& path)
{
    m_files.removeAll(path);
    store();
}

void RecentFiles::store()
{
    tarnikSettings().setValue(kRecentFilesKey, m_files);
    showInMenu();
}

void RecentFiles::showInMenu()
{
    qDeleteAll(m_entries);
    m_entries.clear();
    if (m_files.isEmpty()) return;
    for (int i = 0; i < m_files.size(); ++i) {
        const QString path = m_files[i];
        auto* entry = new QAction(QStringLiteral("&%1 %2").arg(i + 1).arg(QDir::toNativeSeparators(path)), &m_menu);
        entry->setObjectName(QStringLiteral("recentFile%1").arg(i + 1));
        entry->setToolTip(QStringLiteral("打开 %1").arg(QDir::toNativeSeparators(path)));
        connect(entry, &QAction::triggered, this, [this, path] { emit chosen(path); });
        m_entries.append(entry);
    }
    auto* separator = new QAction(&m_menu);
    separator->setSeparator(true);
    m_entries.append(separator);
    m_menu.insertActions(&m_before, m_entries);
}

}  // namespace tarnik
