#pragma once
// What a file on disk held when the editor last read or wrote it: its size,
// modification time and a hash of its bytes. Size and time answer quickly
// that nothing changed; the hash decides otherwise, so that a touch, or the
// editor's own save seen by the file watcher, is no change.
#include <QByteArray>
#include <QByteArrayView>
#include <QDateTime>
#include <QString>

namespace tarnik {

class DiskStamp {
public:
    DiskStamp() = default;
    [[nodiscard]] static DiskStamp of(const QString& path, QByteArrayView bytes);
    // The file as it is now; an empty stamp when it cannot be read.
    [[nodiscard]] static DiskStamp ofFile(const QString& path);

    // The file at `path` exists and holds other bytes than those stamped.
    [[nodiscard]] bool changedOnDisk(const QString& path) const;

private:
    qint64 m_size = -1;
    QDateTime m_modified;
    QByteArray m_hash;
};

}  // namespace tarnik
