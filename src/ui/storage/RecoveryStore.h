#pragma once
// Unsaved text kept in the user's data folder, so that a crash, a logout or
// a kill loses nothing. Each running IDE writes into a folder of its own and
// holds a lock file in it while it runs; the records in folders whose lock
// can be taken are those of IDEs that are gone, and only they are offered.
// The whole text is written each time: programs are small, and a record
// never depends on the file it belonged to.
//
// The folder holds only what the store puts there: it looks only at real
// folders named as it names them (never following a link), writes no record
// through a link, and removes only its own files, then the folder if that
// left it empty.
#include <QDateTime>
#include <QLockFile>
#include <QString>
#include <memory>
#include <optional>
#include <vector>

#include "services/SourceText.h"
#include "ui/storage/CheckedFileWriter.h"

namespace tarnik {

// What the editor had unsaved, with all a save needs to write the text as a
// save of its file would have.
struct UnsavedText {
    QString file;  // the file the text belongs to; empty for a new text
    SourceEncoding encoding = SourceEncoding::Utf8;
    LineEnds lineEnds = LineEnds::CrLf;
    QString readLoss;  // why the file could not be read exactly; empty when it could
    QString text;      // line ends CR LF
};

struct RecoveryRecord {
    QString folder;  // where it is kept
    QDateTime written;
    UnsavedText unsaved;
};

// A record of an IDE that is gone, taken but not read yet.
struct LeftRecord {
    QString folder;
    qint64 size = 0;
};

class RecoveryStore {
public:
    // Records up to this size are read without asking: far more than the
    // largest program.
    static constexpr qint64 kLargeRecordBytes = 8 * 1024 * 1024;

    // `root` holds one folder per running IDE.
    explicit RecoveryStore(QString root);
    ~RecoveryStore();
    RecoveryStore(const RecoveryStore&) = delete;
    RecoveryStore& operator=(const RecoveryStore&) = delete;

    // The data folder's recovery/ folder.
    [[nodiscard]] static QString defaultRoot();

    // Takes this IDE's own folder and its lock; false when that failed.
    bool claim();
    // Replaces this IDE's record atomically; says why when it could not.
    FileWriteResult write(const UnsavedText& unsaved);
    // Removes this IDE's record, if any.
    void remove();
    [[nodiscard]] QString recordPath() const;

    // The records of IDEs that are gone. Their folders stay locked by this
    // store until release(), so that no other IDE starting meanwhile offers
    // them too. Folders left without a record are removed.
    [[nodiscard]] std::vector<LeftRecord> takeLeftRecords();
    // One such record, named by its folder; nothing when that is no folder
    // of this store, holds no record or is another running IDE's.
    [[nodiscard]] std::optional<LeftRecord> takeLeftRecord(const QString& folder);
    // Reads a taken record of at most `maxBytes`; nothing when it is larger,
    // damaged or no longer a regular file.
    [[nodiscard]] static std::optional<RecoveryRecord> read(const LeftRecord& left, qint64 maxBytes);
    // Deletes a taken record.
    static void discard(const QString& folder);
    void releaseLeftRecords();

private:
    std::optional<LeftRecord> takeFolder(const QString& folder);

    QString m_root;
    QString m_folder;
    std::unique_ptr<QLockFile> m_lock;
    std::vector<std::unique_ptr<QLockFile>> m_leftLocks;
};

}  // namespace tarnik
