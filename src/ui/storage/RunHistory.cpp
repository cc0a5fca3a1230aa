#include "ui/storage/RunHistory.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QFileInfo>
#include <QStandardPaths>
#include <algorithm>
#include <utility>

namespace tarnik {
namespace {

// A file without this tag (damaged, or written by something else) is read
// as an empty history.
const QString kFormat = QStringLiteral("tarnik-run-history-1");

}  // namespace

RunHistory::RunHistory(QString path) : m_path(std::move(path)) {}

QString RunHistory::defaultPath()
{
    return QDir(QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation))
        .filePath(QStringLiteral("run-history.json"));
}

void RunHistory::add(RunRecord record)
{
    std::erase_if(m_records, [&](const RunRecord& kept) { return kept.text == record.text; });
    m_records.insert(m_records.begin(), std::move(record));
    dropOldest();
}

void RunHistory::dropOldest()
{
    qsizetype characters = 0;
    std::size_t kept = 0;
    while (kept < m_records.size() && kept < std::size_t{kMaxRecords}) {
        characters += m_records[kept].text.size();
        if (kept > 0 && characters > kMaxCharacters) break;
        ++kept;
    }
    m_records.resize(kept);
}

// Only a regular file of a sensible size is read: the history is ours, and
// anything else in its place (a link, a device, a huge file) is not.
void RunHistory::load()
{
    m_records.clear();
    const QFileInfo info(m_path);
    if (info.isSymLink() || !info.isFile() || info.size() > kMaxFileBytes) return;
    QFile file(m_path);
    if (file.open(QIODevice::ReadOnly)) m_records = parse(file.read(kMaxFileBytes));
    dropOldest();
}

FileWriteResult RunHistory::save() const
{
    if (!QDir().mkpath(QFileInfo(m_path).absolutePath())) {
        return {false, QStringLiteral("无法建立文件夹")};
    }
    return writeFileChecked(m_path, serialise());
}

QByteArray RunHistory::serialise() const
{
    QJsonArray runs;
    for (const RunRecord& record : m_records) {
        runs.append(QJsonObject{
            {QStringLiteral("text"), record.text},
            {QStringLiteral("file"), record.file},
            {QStringLiteral("started"), record.started.toUTC().toString(Qt::ISODateWithMs)},
            {QStringLiteral("outcome"), record.outcome},
        });
    }
    const QJsonObject json{{QStringLiteral("format"), kFormat}, {QStringLiteral("runs"), runs}};
    return QJsonDocument(json).toJson(QJsonDocument::Compact);
}

std::vector<RunRecord> RunHistory::parse(const QByteArray& bytes)
{
    const QJsonObject json = QJsonDocument::fromJson(bytes).object();
    if (json.value(QStringLiteral("format")).toString() != kFormat) return {};
    std::vector<RunRecord> records;
    for (const QJsonValue& run : json.value(QStringLiteral("runs")).toArray()) {
        const QJsonObject entry = run.toObject();
        records.push_back({
            entry.value(QStringLiteral("text")).toString(),
            entry.value(QStringLiteral("file")).toString(),
            QDateTime::fromString(entry.value(QStringLiteral("started")).toString(), Qt::ISODateWithMs),
            entry.value(QStringLiteral("outcome")).toString(),
        });
    }
    return records;
}

QString RunHistory::describeOutcome(const RunOutcome& outcome)
{
    if (outcome.error) {
        return QStringLiteral("错误 %1（第%2行）").arg(outcome.error->number).arg(outcome.line);
    }
    return outcome.aborted ? QStringLiteral("已中止") : QStringLiteral("运行结束");
}

}  // namespace tarnik
