#pragma once
// Unsaved text kept in the user's data folder, so that a crash, a logout or
// a kill loses nothing. Each running IDE writes into a folder of its own and
// holds a lock file in it while it runs; the records in folders whose lock
// can be taken are those of IDEs that are gone, and only they are offered.
// The whole text is written each time: programs are small, and a record
// never depends on the file it belonged to.
#include <QDateTime>
#include <QLockFile>
#include <QString>
#include <memory>
#include <optional>
#include <vector>

#include "services/SourceText.h"
#include "ui/CheckedFileWriter.h"

namespace tarnik {

struct RecoveryRecord {
    QString folder;  // where it is kept
    QString file;    // the file the text belongs to; empty for a new text
    SourceEncoding encoding = SourceEncoding::Utf8;
    QDateTime written;
    QString text;    // line ends CR LF
};

class RecoveryStore {
public:
    // `root` holds one folder per running IDE.
    explicit RecoveryStore(QString root);
    ~RecoveryStore();
    RecoveryStore(const RecoveryStore&) = delete;
    RecoveryStore& operator=(const RecoveryStore&) = delete;

    // The data folder's recovery/ folder.
    [[nodiscard]] static QString defaultRoot();

    // Takes this IDE's own folder and its lock; false when that failed.
    bool claim();
    // Replaces this IDE's record atomically; false when it could not be written.
    bool write(const QString& file, SourceEncoding encoding, const QString& text);
    // Removes this IDE's record, if any.
    void remove();
    [[nodiscard]] QString recordPath() const;

    // The records of IDEs that are gone, newest first. Their folders stay
    // locked by this store until release(), so that no other IDE starting
    // meanwhile offers them too.
    [[nodiscard]] std::vector<RecoveryRecord> takeLeftRecords();
    // Deletes a record taken by takeLeftRecords().
    static void discard(const RecoveryRecord& record);
    void releaseLeftRecords();

private:
    QString m_root;
    QString m_folder;
    std::unique_ptr<QLockFile> m_lock;
    std::vector<std::unique_ptr<QLockFile>> m_leftLocks;
};

}  // namespace tarnik
