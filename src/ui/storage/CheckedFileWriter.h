#pragma once
// The one way Tarnik writes a file. QSaveFile writes a temporary file and
// renames it over the old one, but its commit() can report success after a
// buffered write failed (a full disk then turns a program into an empty
// file), so every byte is flushed and checked before the rename: a failure
// keeps the old file exactly as it was.
#include <QByteArrayView>
#include <QString>

namespace tarnik {

enum class LinkPolicy {
    Follow,  // a link names the file the user chose: its target is written
    Refuse,  // our own stores: a link may point anywhere, so nothing is written
};

struct FileWriteResult {
    bool written = false;
    QString reason;  // why not, in Chinese, for a message; empty when written

    explicit operator bool() const { return written; }
};

[[nodiscard]] FileWriteResult writeFileChecked(const QString& path, QByteArrayView bytes,
                                               LinkPolicy links = LinkPolicy::Refuse);

// A file system's error text in words a pupil can read.
[[nodiscard]] QString chineseFileError(const QString& systemText);

}  // namespace tarnik
