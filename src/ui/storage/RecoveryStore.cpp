#include "ui/storage/RecoveryStore.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
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
// never offered. Fields added later have defaults, so older records still load.
const QString kFormat = QStringLiteral("tarnik-recovery-1");

// Only these are names the store gives: <pid>-<milliseconds>.
bool isFolderName(const QString& name)
{
    static const QRegularExpression pattern(QStringLiteral("^[0-9]+-[0-9]+$"));
    return pattern.match(name).hasMatch();
}

template <class Value, std::size_t N>
QString nameOf(const std::array<std::pair<Value, const char*>, N>& names, Value value)
{
    for (const auto& [known, name] : names) {
        if (known == value) return QLatin1String(name);
    }
    return {};
}

template <class Value, std::size_t N>
Value valueNamed(const std::array<std::pair<Value, const char*>, N>& names, const QString& name, Value fallback)
{
    for (const auto& [known, knownName] : names) {
        if (name == QLatin1String(knownName)) return known;
    }
    return fallback;
}

constexpr std::array<std::pair<SourceEncoding, const char*>, 5> kEncodingNames{{
    {SourceEncoding::Utf8, "utf-8"},
    {SourceEncoding::Utf8WithBom, "utf-8-bom"},
    {SourceEncoding::Gbk, "gbk"},
    {SourceEncoding::Utf16Le, "utf-16le"},
    {SourceEncoding::Utf16Be, "utf-16be"},
}};

constexpr std::array<std::pair<LineEnds, const char*>, 3> kLineEndNames{{
    {LineEnds::CrLf, "crlf"},
    {LineEnds::Lf, "lf"},
    {LineEnds::Cr, "cr"},
}};

QByteArray recordBytes(const UnsavedText& unsaved)
{
    const QJsonObject json{
        {QStringLiteral("format"), kFormat},
        {QStringLiteral("file"), unsaved.file},
        {QStringLiteral("encoding"), nameOf(kEncodingNames, unsaved.encoding)},
        {QStringLiteral("lineEnds"), nameOf(kLineEndNames, unsaved.lineEnds)},
        {QStringLiteral("readLoss"), unsaved.readLoss},
        {QStringLiteral("written"), QDateTime::currentDateTimeUtc().toString(Qt::ISODateWithMs)},
        {QStringLiteral("text"), unsaved.text},
    };
    return QJsonDocument(json).toJson(QJsonDocument::Compact);
}

std::optional<RecoveryRecord> parseRecord(const QString& folder, const QByteArray& bytes)
{
    const QJsonObject json = QJsonDocument::fromJson(bytes).object();
    if (json.value(QStringLiteral("format")).toString() != kFormat) return std::nullopt;
    RecoveryRecord record;
    record.folder = folder;
    record.written = QDateTime::fromString(json.value(QStringLiteral("written")).toString(), Qt::ISODateWithMs);
    UnsavedText& unsaved = record.unsaved;
    unsaved.file = json.value(QStringLiteral("file")).toString();
    unsaved.encoding =
        valueNamed(kEncodingNames, json.value(QStringLiteral("encoding")).toString(), SourceEncoding::Utf8);
    unsaved.lineEnds = valueNamed(kLineEndNames, json.value(QStringLiteral("lineEnds")).toString(), LineEnds::CrLf);
    unsaved.readLoss = json.value(QStringLiteral("readLoss")).toString();
    unsaved.text = json.value(QStringLiteral("text")).toString();
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

// Anything at all under this name, a link to nothing included.
bool entryExists(const QString& path)
{
    const QFileInfo info(path);
    return info.exists() || info.isSymLink();
}

// The folder goes only when it is empty once the lock is gone: anything else
// in it was put there by someone else and stays, with the folder.
void removeFolderWithoutRecord(const QString& folder, std::unique_ptr<QLockFile> lock)
{
    lock.reset();  // which removes the lock file
    QDir().rmdir(folder);
}

}  // namespace

RecoveryStore::RecoveryStore(QString root) : m_root(std::move(root)) {}

// A normal end removes the record before this; a record still here was
// written on a signal and waits for the next start.
RecoveryStore::~RecoveryStore()
{
    releaseLeftRecords();
    if (m_folder.isEmpty() || entryExists(recordPath())) return;
    removeFolderWithoutRecord(m_folder, std::move(m_lock));
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
    if (!QDir().mkpath(m_root) || !QDir().mkdir(folder) || QFileInfo(folder).isSymLink()) return false;
    std::unique_ptr<QLockFile> lock = lockOf(folder);
    if (!lock->tryLock(0)) {
        QDir().rmdir(folder);  // the next attempt makes a folder of its own
        return false;
    }
    m_folder = folder;
    m_lock = std::move(lock);
    return true;
}

QString RecoveryStore::recordPath() const
{
    return m_folder.isEmpty() ? QString() : QDir(m_folder).filePath(kRecordName);
}

FileWriteResult RecoveryStore::write(const UnsavedText& unsaved)
{
    if (!claim()) return {false, QStringLiteral("无法建立它的文件夹")};
    // Made a link after the claim, the folder could lead anywhere.
    if (QFileInfo(m_folder).isSymLink()) return {false, QStringLiteral("它的文件夹被换成了一个链接，为了安全没有写入")};
    return writeFileChecked(recordPath(), recordBytes(unsaved), LinkPolicy::Refuse);
}

void RecoveryStore::remove()
{
    if (!m_folder.isEmpty()) discard(m_folder);
}

std::vector<LeftRecord> RecoveryStore::takeLeftRecords()
{
    std::vector<LeftRecord> records;
    const QFileInfoList folders =
        QDir(m_root).entryInfoList(QDir::Dirs | QDir::NoSymLinks | QDir::NoDotAndDotDot, QDir::Name);
    for (const QFileInfo& folder : folders) {
        if (std::optional<LeftRecord> record = takeFolder(folder.absoluteFilePath())) records.push_back(*record);
    }
    return records;
}

std::optional<LeftRecord> RecoveryStore::takeLeftRecord(const QString& folder)
{
    if (QFileInfo(folder).absolutePath() != QFileInfo(m_root).absoluteFilePath()) return std::nullopt;
    return takeFolder(QFileInfo(folder).absoluteFilePath());
}

// Only a real folder named as this store names them, not this IDE's own;
// lstat, so that a link named like one is never followed.
std::optional<LeftRecord> RecoveryStore::takeFolder(const QString& folder)
{
    const QFileInfo info(folder);
    if (info.isSymLink() || !info.isDir() || !isFolderName(info.fileName())) return std::nullopt;
    if (!m_folder.isEmpty() && info.absoluteFilePath() == QFileInfo(m_folder).absoluteFilePath()) return std::nullopt;
    std::unique_ptr<QLockFile> lock = lockOf(folder);
    if (!lock->tryLock(0)) return std::nullopt;  // its IDE is still running
    const QFileInfo record(QDir(folder).filePath(kRecordName));
    if (!entryExists(record.filePath())) {
        removeFolderWithoutRecord(folder, std::move(lock));  // nothing was left unsaved
        return std::nullopt;
    }
    // A link, a pipe or a device in its place is not offered, and stays.
    if (record.isSymLink() || !record.isFile()) return std::nullopt;
    m_leftLocks.push_back(std::move(lock));
    return LeftRecord{folder, record.size()};
}

std::optional<RecoveryRecord> RecoveryStore::read(const LeftRecord& left, qint64 maxBytes)
{
    const std::filesystem::path path(QDir(left.folder).filePath(kRecordName).toStdU16String());
    const FileBytes file = readRegularFile(path, static_cast<std::size_t>(maxBytes), Links::Refuse);
    if (!file.read() || file.cut) return std::nullopt;
    return parseRecord(left.folder, QByteArray::fromStdString(file.bytes));
}

// Only the store's own record goes: whatever else stands under its name stays.
void RecoveryStore::discard(const QString& folder)
{
    const QFileInfo record(QDir(folder).filePath(kRecordName));
    if (!record.isSymLink() && record.isFile()) QFile::remove(record.filePath());
}

// Folders whose record was discarded or recovered go with their locks.
void RecoveryStore::releaseLeftRecords()
{
    for (std::unique_ptr<QLockFile>& lock : m_leftLocks) {
        const QString folder = QFileInfo(lock->fileName()).absolutePath();
        if (entryExists(QDir(folder).filePath(kRecordName))) {
            lock.reset();
        } else {
            removeFolderWithoutRecord(folder, std::move(lock));
        }
    }
    m_leftLocks.clear();
}

}  // namespace tarnik
