#include "ui/RecoveryStore.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSaveFile>
#include <QStandardPaths>
#include <algorithm>
#include <array>
#include <utility>

#include "services/RegularFile.h"

namespace tarnik {
namespace {

const QString kRecordName = QStringLiteral("unsaved.json");
const QString kLockName = QStringLiteral("lock");
// A record without this tag (truncated, or written by something else) is
// never offered.
const QString kFormat = QStringLiteral("tarnik-recovery-1");

constexpr std::array<std::pair<SourceEncoding, const char*>, 3> kEncodingNames{{
    {SourceEncoding::Utf8, "utf-8"},
    {SourceEncoding::Utf8WithBom, "utf-8-bom"},
    {SourceEncoding::Gbk, "gbk"},
}};

QString encodingName(SourceEncoding encoding)
{
    for (const auto& [known, name] : kEncodingNames) {
        if (known == encoding) return QLatin1String(name);
    }
    return {};
}

SourceEncoding encodingNamed(const QString& name)
{
    for (const auto& [known, knownName] : kEncodingNames) {
        if (name == QLatin1String(knownName)) return known;
    }
    return SourceEncoding::Utf8;
}

std::optional<RecoveryRecord> readRecord(const QString& folder)
{
    QFile file(QDir(folder).filePath(kRecordName));
    if (!file.open(QIODevice::ReadOnly)) return std::nullopt;
    const QJsonObject json = QJsonDocument::fromJson(file.readAll()).object();
    if (json.value(QStringLiteral("format")).toString() != kFormat) return std::nullopt;
    RecoveryRecord record;
    record.folder = folder;
    record.file = json.value(QStringLiteral("file")).toString();
    record.encoding = encodingNamed(json.value(QStringLiteral("encoding")).toString());
    record.written = QDateTime::fromString(json.value(QStringLiteral("written")).toString(), Qt::ISODateWithMs);
    record.text = json.value(QStringLiteral("text")).toString();
    return record;
}

// A lock that only a live process holds: one left by a process that is gone
// is taken over at once, however young it is.
std::unique_ptr<QLockFile> lockOf(const QString& folder)
{
    auto lock = std::make_unique<QLockFile>(QDir(folder).filePath(kLockName));
    lock->setStaleLockTime(0);
    return lock;
}

}  // namespace

RecoveryStore::RecoveryStore(QString root) : m_root(std::move(root)) {}

// A normal end removes the record before this; a record still here was
// written on a signal and waits for the next start.
RecoveryStore::~RecoveryStore()
{
    releaseLeftRecords();
    if (m_folder.isEmpty() || QFile::exists(recordPath())) return;
    m_lock.reset();
    QDir(m_folder).removeRecursively();
}

QString RecoveryStore::defaultRoot()
{
    return QDir(QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation))
        .filePath(QStringLiteral("recovery"));
}

// The folder is named after the process and its start, so that a later
// process given the same id never finds an old record in its own folder.
bool RecoveryStore::claim()
{
    if (m_lock) return true;
    const QString name = QStringLiteral("%1-%2").arg(QCoreApplication::applicationPid())
                             .arg(QDateTime::currentMSecsSinceEpoch());
    const QString folder = QDir(m_root).filePath(name);
    if (!QDir().mkpath(folder)) return false;
    std::unique_ptr<QLockFile> lock = lockOf(folder);
    if (!lock->tryLock(0)) return false;
    m_folder = folder;
    m_lock = std::move(lock);
    return true;
}

QString RecoveryStore::recordPath() const
{
    return m_folder.isEmpty() ? QString() : QDir(m_folder).filePath(kRecordName);
}

bool RecoveryStore::write(const QString& file, SourceEncoding encoding, const QString& text)
{
    if (!claim()) return false;
    const QJsonObject json{
        {QStringLiteral("format"), kFormat},
        {QStringLiteral("file"), file},
        {QStringLiteral("encoding"), encodingName(encoding)},
        {QStringLiteral("written"), QDateTime::currentDateTimeUtc().toString(Qt::ISODateWithMs)},
        {QStringLiteral("text"), text},
    };
    QSaveFile record(recordPath());
    const QByteArray bytes = QJsonDocument(json).toJson(QJsonDocument::Compact);
    return record.open(QIODevice::WriteOnly) && record.write(bytes) == bytes.size() && record.commit();
}

void RecoveryStore::remove()
{
    if (!m_folder.isEmpty()) QFile::remove(recordPath());
}

std::vector<RecoveryRecord> RecoveryStore::takeLeftRecords()
{
    std::vector<RecoveryRecord> records;
    const QStringList folders = QDir(m_root).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    for (const QString& name : folders) {
        const QString folder = QDir(m_root).filePath(name);
        if (folder == m_folder) continue;
        std::unique_ptr<QLockFile> lock = lockOf(folder);
        if (!lock->tryLock(0)) continue;  // its IDE is still running
        if (std::optional<RecoveryRecord> record = readRecord(folder)) {
            records.push_back(std::move(*record));
            m_leftLocks.push_back(std::move(lock));
        } else if (!QFile::exists(QDir(folder).filePath(kRecordName))) {
            lock.reset();
            QDir(folder).removeRecursively();  // nothing was left unsaved
        }
    }
    std::sort(records.begin(), records.end(),
              [](const RecoveryRecord& a, const RecoveryRecord& b) { return a.written > b.written; });
    return records;
}

void RecoveryStore::discard(const RecoveryRecord& record)
{
    QFile::remove(QDir(record.folder).filePath(kRecordName));
}

// Folders whose record was discarded or recovered go with their locks.
void RecoveryStore::releaseLeftRecords()
{
    for (std::unique_ptr<QLockFile>& lock : m_leftLocks) {
        const QString folder = QFileInfo(lock->fileName()).absolutePath();
        lock.reset();
        if (!QFile::exists(QDir(folder).filePath(kRecordName))) QDir(folder).removeRecursively();
    }
    m_leftLocks.clear();
}

}  // namespace tarnik
