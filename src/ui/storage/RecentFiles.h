#pragma once
// The files last opened or saved under a new name, newest first, at most
// nine, kept in the settings (Editor/RecentFiles) for the next start. The
// File menu lists them above Exit, numbered 1 to 9 as their mnemonics.
#include <QObject>
#include <QStringList>

class QAction;
class QMenu;

namespace tarnik {

class RecentFiles : public QObject {
    Q_OBJECT

public:
    static constexpr int kMaxFiles = 9;

    // The entries go into `menu` before `before`.
    RecentFiles(QMenu& menu, QAction& before);

    [[nodiscard]] const QStringList& files() const { return m_files; }
    // `path` becomes the newest entry.
    void add(const QString& path);
    void remove(const QString& path);

signals:
    void chosen(const QString& path);

private:
    void store();
    void showInMenu();

    QMenu& m_menu;
    QAction& m_before;
    QStringList m_files;
    QList<QAction*> m_entries;  // the entries and their separator
};

}  // namespace tarnik
