#pragma once
// The texts of the last runs, kept in the user's data folder, so that a
// program that worked is never lost because a later edit broke it, and no
// run needs the user's own file saved over. The newest run comes first; a
// text run again moves to the front instead of being kept twice. The oldest
// runs go past kMaxRecords runs or kMaxCharacters characters of text, so
// that reading and writing the file stays quick; the newest is always kept.
#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <vector>

#include "interp/RunController.h"
#include "ui/storage/CheckedFileWriter.h"

namespace tarnik {

struct RunRecord {
    QString text;     // line ends CR LF
    QString file;     // the file the text belonged to; empty for a new text
    QDateTime started;
    QString outcome;  // how the run ended, as describeOutcome() says it

    bool operator==(const RunRecord&) const = default;
};

class RunHistory {
public:
    static constexpr int kMaxRecords = 20;
    static constexpr qsizetype kMaxCharacters = 2 * 1024 * 1024;  // 4 MB of text
    // Far more than kMaxCharacters of text takes as JSON.
    static constexpr qint64 kMaxFileBytes = 64 * 1024 * 1024;

    // The history kept in the file at `path` (normally defaultPath()).
    explicit RunHistory(QString path);
    [[nodiscard]] static QString defaultPath();

    [[nodiscard]] const std::vector<RunRecord>& records() const { return m_records; }
    void add(RunRecord record);

    // Reads the file again (another IDE may have added to it); a missing or
    // unreadable file is an empty history.
    void load();
    // Replaces the file atomically, never through a link.
    [[nodiscard]] FileWriteResult save() const;

    [[nodiscard]] QByteArray serialise() const;
    [[nodiscard]] static std::vector<RunRecord> parse(const QByteArray& bytes);

    // "运行结束", "错误 N（第L行）" or "已中止".
    [[nodiscard]] static QString describeOutcome(const RunOutcome& outcome);

private:
    void dropOldest();

    QString m_path;
    std::vector<RunRecord> m_records;
};

}  // namespace tarnik
