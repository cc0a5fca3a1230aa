// frmMain's safety net for unsaved text: the recovery record, the offer at
// start-up and the end on a signal.
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QLocale>
#include <algorithm>
#include <filesystem>

#include "services/RegularFile.h"
#include "ui/Dialogs.h"
#include "ui/EditorText.h"
#include "ui/frmMain.h"
#include "ui/run/frmResult.h"
#include "ui_frmMain.h"

namespace tarnik {
namespace {

const QString kRecoveryTitle = QStringLiteral("恢复未保存的程序");
// Typing goes on in bursts: the record is written once a burst is over, and
// during a long one at the latest this long after its first change.
constexpr int kRecoveryIdleMs = 2000;
constexpr int kRecoveryDeadlineMs = 5000;
// The recorded file is read to know it again at the next save; a file far
// larger than a program is not.
constexpr std::size_t kStampedFileBytes = 64 * 1024 * 1024;

QString shownTime(const QDateTime& time)
{
    return QLocale().toString(time.toLocalTime(), QStringLiteral("yyyy-MM-dd HH:mm:ss"));
}

QString shownFile(const UnsavedText& unsaved)
{
    return unsaved.file.isEmpty() ? QStringLiteral("新文件") : QStringLiteral("“%1”").arg(QDir::toNativeSeparators(unsaved.file));
}

double megabytes(qint64 bytes)
{
    return static_cast<double>(bytes) / (1024.0 * 1024.0);
}

// What became of the recorded file since the record was written.
enum class DiskState { Unchanged, Changed, Gone, NoFile };

DiskState diskStateOf(const RecoveryRecord& record)
{
    if (record.unsaved.file.isEmpty()) return DiskState::Unchanged;
    const QFileInfo disk(record.unsaved.file);
    if (!disk.exists()) return DiskState::Gone;
    if (!disk.isFile()) return DiskState::NoFile;
    return disk.lastModified() > record.written ? DiskState::Changed : DiskState::Unchanged;
}

// Saving a recovered text replaces the file without asking, so the offer
// says when the file is no longer what the record was made against.
QString diskWarning(const RecoveryRecord& record)
{
    switch (diskStateOf(record)) {
    case DiskState::Unchanged: return {};
    case DiskState::Gone: return QStringLiteral("注意：磁盘上已没有这个文件，恢复后保存会重新建立它。\n\n");
    case DiskState::NoFile:
        return QStringLiteral("注意：磁盘上的这个名字现在不是普通文件（而是文件夹、设备或管道），恢复的内容将作为新文件打开。\n\n");
    case DiskState::Changed:
        return QStringLiteral("注意：磁盘上的这个文件在记录之后又被修改过（%1），恢复后保存会覆盖那次修改。\n\n")
            .arg(shownTime(QFileInfo(record.unsaved.file).lastModified()));
    }
    return {};
}

// The same in a few words, for one item of a list.
QString diskNote(const RecoveryRecord& record)
{
    switch (diskStateOf(record)) {
    case DiskState::Unchanged: return {};
    case DiskState::Gone: return QStringLiteral("（文件已不在磁盘上）");
    case DiskState::NoFile: return QStringLiteral("（已不是普通文件，将作为新文件打开）");
    case DiskState::Changed: return QStringLiteral("（文件在记录之后被修改过）");
    }
    return {};
}

// The first lines of the text, so that the pupil knows which program it is.
QString preview(const QString& text)
{
    constexpr qsizetype kPreviewLines = 5;
    constexpr qsizetype kPreviewLineLength = 60;
    const QStringList lines = text.split(QStringLiteral("\r\n"));
    QStringList shown;
    for (const QString& line : lines.mid(0, kPreviewLines)) {
        shown << QStringLiteral("    ") + (line.size() > kPreviewLineLength ? line.left(kPreviewLineLength) + QStringLiteral("…") : line);
    }
    if (lines.size() > kPreviewLines) shown << QStringLiteral("    ……（共 %1 行）").arg(lines.size());
    return shown.join(QLatin1Char('\n'));
}

QString recoveryQuestion(const RecoveryRecord& record)
{
    const QString whereSaved = record.unsaved.file.isEmpty() ? QStringLiteral("保存时需要选择文件名")
                                                             : QStringLiteral("保存时写回原来的文件");
    return QStringLiteral("Tarnik 上次没有正常结束，%1的修改没有保存（记录于 %2）。它的开头是：\n%3\n\n"
                          "%4"
                          "恢复：打开这些内容，它们仍未保存，%5。\n"
                          "丢弃：删除这份记录。\n"
                          "取消：保留这份记录，下次启动时再问。")
        .arg(shownFile(record.unsaved), shownTime(record.written), preview(record.unsaved.text), diskWarning(record),
             whereSaved);
}

QString listQuestion(std::size_t count)
{
    return QStringLiteral("之前有 %1 个 Tarnik 没有正常结束，留下了这些没有保存的程序（最新的在最前）。\n\n"
                          "恢复：在这个窗口中打开选中的一个，其余的下次启动时再问。\n"
                          "全部恢复：这个窗口打开第一个，其余的各在一个新的 Tarnik 窗口中打开。\n"
                          "全部丢弃：删除所有这些记录。\n"
                          "取消：保留所有记录，下次启动时再问。")
        .arg(count);
}

QString listItem(const RecoveryRecord& record)
{
    return QStringLiteral("%1  记录于 %2%3").arg(shownFile(record.unsaved), shownTime(record.written), diskNote(record));
}

// The recorded file as it is now, so that the next save does not take the
// recovered text itself for a change on disk: nothing when the text cannot go
// back there (no longer a regular file, or one that cannot be read now, such
// as a device or a file of the kernel), an empty stamp when it is gone.
std::optional<DiskStamp> stampOfRecordedFile(const QString& path)
{
    if (path.isEmpty()) return DiskStamp();
    const FileBytes file = readRegularFile(std::filesystem::path(path.toStdU16String()), kStampedFileBytes, Links::Follow);
    if (file.refusal == FileRefusal::Missing) return DiskStamp();
    if (!file.read() || file.cut) return std::nullopt;
    return DiskStamp::of(path, QByteArrayView(file.bytes.data(), static_cast<qsizetype>(file.bytes.size())));
}

}  // namespace

void frmMain::setUpRecovery()
{
    m_recoveryDelay.setSingleShot(true);
    m_recoveryDelay.setInterval(kRecoveryIdleMs);
    m_recoveryDeadline.setSingleShot(true);
    m_recoveryDeadline.setInterval(kRecoveryDeadlineMs);
    connect(&m_recoveryDelay, &QTimer::timeout, this, &frmMain::keepRecoveryRecord);
    connect(&m_recoveryDeadline, &QTimer::timeout, this, &frmMain::keepRecoveryRecord);
    // In the status bar rather than a box: it comes while the user types.
    m_recoveryWarning = new QLabel(QStringLiteral("⚠ 恢复记录未能写入"), this);
    m_recoveryWarning->setObjectName(QStringLiteral("sbRecoveryWarning"));
    m_recoveryWarning->setAccessibleName(QStringLiteral("恢复记录警告"));
    ui->sbStatusBar->addPermanentWidget(m_recoveryWarning);
    m_recoveryWarning->hide();
}

// The idle timer starts again with each change; the deadline only with the
// first change since the last record, so that steady typing is recorded too.
void frmMain::recordSoon()
{
    m_recoveryDelay.start();
    if (!m_recoveryDeadline.isActive()) m_recoveryDeadline.start();
}

void frmMain::openUnsavedText(std::u16string_view text)
{
    ClearEditor();
    loadEditorText(text);
    Modified = true;
    recordSoon();
}

void frmMain::offerRecovery()
{
    m_recovery.claim();
    if (Modified || m_endingOnSignal) return;
    const std::vector<RecoveryRecord> records = readLeftRecords(m_recovery.takeLeftRecords());
    QStringList elsewhere;
    if (records.size() == 1) offerRecord(records.front());
    if (records.size() > 1) elsewhere = offerRecordList(records);
    // Another IDE can take these records only once they are released.
    m_recovery.releaseLeftRecords();
    for (const QString& folder : elsewhere) emit recordForAnotherWindow(folder);
}

void frmMain::recoverFolder(const QString& folder)
{
    m_recovery.claim();
    const std::optional<LeftRecord> left = m_recovery.takeLeftRecord(folder);
    const std::vector<RecoveryRecord> records = left ? readLeftRecords({*left}) : std::vector<RecoveryRecord>();
    if (records.empty()) {
        showStatus(QStringLiteral("没有找到恢复记录 %1，它可能已由另一个 Tarnik 恢复或丢弃。")
                       .arg(QDir::toNativeSeparators(folder)));
    } else {
        recoverText(records.front());
    }
    m_recovery.releaseLeftRecords();
}

// Newest first. A damaged record, or one that is no longer a regular file,
// is left where it is and not offered.
std::vector<RecoveryRecord> frmMain::readLeftRecords(const std::vector<LeftRecord>& left)
{
    const bool readLarge = mayReadLargeRecords(left);
    std::vector<RecoveryRecord> records;
    for (const LeftRecord& one : left) {
        const bool large = one.size > RecoveryStore::kLargeRecordBytes;
        if (large && !readLarge) continue;
        if (std::optional<RecoveryRecord> record =
                RecoveryStore::read(one, std::max(one.size, RecoveryStore::kLargeRecordBytes))) {
            records.push_back(std::move(*record));
        }
    }
    std::sort(records.begin(), records.end(),
              [](const RecoveryRecord& a, const RecoveryRecord& b) { return a.written > b.written; });
    return records;
}

// One question for all records far larger than a program's, before a byte
// of them is read: reading them keeps the window from answering for a while.
bool frmMain::mayReadLargeRecords(const std::vector<LeftRecord>& left)
{
    qint64 largeBytes = 0;
    qsizetype largeCount = 0;
    for (const LeftRecord& one : left) {
        if (one.size <= RecoveryStore::kLargeRecordBytes) continue;
        largeBytes += one.size;
        ++largeCount;
    }
    if (largeCount == 0) return false;
    const QString text = QStringLiteral("%1 中有 %2 份恢复记录很大（共 %3 MB），远远大于一个程序的记录，可能已经损坏。\n"
                                        "读取它们需要一些时间，这期间编辑器不能使用。仍要读取吗？\n"
                                        "取消：这次不读取，记录保留，下次启动时再问。")
                             .arg(QDir::toNativeSeparators(RecoveryStore::defaultRoot()))
                             .arg(largeCount)
                             .arg(megabytes(largeBytes), 0, 'f', 1);
    return m_dialogs.askChoice(this, kRecoveryTitle, text, {QStringLiteral("读取")}) == 0;
}

void frmMain::offerRecord(const RecoveryRecord& record)
{
    switch (m_dialogs.offerRecovery(this, kRecoveryTitle, recoveryQuestion(record))) {
    case Answer::Yes: recoverText(record); break;
    case Answer::No: RecoveryStore::discard(record.folder); break;
    case Answer::Cancel: break;
    }
}

QStringList frmMain::offerRecordList(const std::vector<RecoveryRecord>& records)
{
    QStringList items;
    for (const RecoveryRecord& record : records) items << listItem(record);
    const RecoveryListAnswer answer = m_dialogs.offerRecoveryList(this, kRecoveryTitle, listQuestion(records.size()), items);
    QStringList elsewhere;
    switch (answer.action) {
    case RecoveryListAction::Recover:
        if (answer.chosen >= 0 && answer.chosen < items.size()) recoverText(records[static_cast<std::size_t>(answer.chosen)]);
        break;
    case RecoveryListAction::RecoverAll:
        recoverText(records.front());
        for (auto other = records.begin() + 1; other != records.end(); ++other) elsewhere << other->folder;
        break;
    case RecoveryListAction::DiscardAll:
        for (const RecoveryRecord& record : records) RecoveryStore::discard(record.folder);
        break;
    case RecoveryListAction::Cancel: break;
    }
    return elsewhere;
}

// The recovered text is this IDE's now, with what a save of its file needs:
// its old record goes once this IDE has written its own.
void frmMain::recoverText(const RecoveryRecord& record)
{
    const UnsavedText& unsaved = record.unsaved;
    ClearEditor();
    loadEditorText(unsaved.text.toStdU16String());
    m_encoding = unsaved.encoding;
    m_lineEnds = unsaved.lineEnds;
    // The user chose the recovered text over the file as it is now, so a
    // save replaces that without asking again.
    if (const std::optional<DiskStamp> stamp = stampOfRecordedFile(unsaved.file)) {
        CurrentFile = unsaved.file;
        m_readLoss = unsaved.readLoss;
        m_diskStamp = *stamp;
    } else {
        showStatus(QStringLiteral("“%1”已不是可以读取的普通文件，恢复的内容作为新文件打开。")
                       .arg(QDir::toNativeSeparators(unsaved.file)));
    }
    watchCurrentFile();
    showFileFormat();
    Modified = true;
    if (keepRecoveryRecord()) RecoveryStore::discard(record.folder);
}

bool frmMain::keepRecoveryRecord()
{
    m_recoveryDelay.stop();
    m_recoveryDeadline.stop();
    if (!Modified) {
        m_recovery.remove();
        showRecoveryWriteResult({true, {}});
        return true;
    }
    const FileWriteResult written = m_recovery.write(
        {CurrentFile, m_encoding, m_lineEnds, m_readLoss, toQString(crLfText(*ui->txtSource))});
    showRecoveryWriteResult(written);
    return written.written;
}

// No box: this happens while the user types, and nothing is lost yet. The
// mark stays until a record is written again; the note says it once.
void frmMain::showRecoveryWriteResult(const FileWriteResult& written)
{
    if (written) {
        m_recoveryWarning->hide();
        return;
    }
    const QString place = m_recovery.recordPath().isEmpty() ? RecoveryStore::defaultRoot() : m_recovery.recordPath();
    const QString text = QStringLiteral("无法写入恢复记录 %1：%2。未保存的内容只在编辑器中，请尽快保存。")
                             .arg(QDir::toNativeSeparators(place), written.reason);
    m_recoveryWarning->setToolTip(text);
    if (m_recoveryWarning->isHidden()) showStatus(text);
    m_recoveryWarning->show();
}

// The application's exit ends every event loop, an open question's too (it
// returns as cancelled), and no question shows after this; a run or a test
// run stops at its next statement. The code that started them goes no
// further than its check of endingOnSignal() or m_closeAfterRun.
void frmMain::endOnSignal()
{
    m_endingOnSignal = true;
    keepRecoveryRecord();
    m_dialogs.endQuestions();
    m_closeAfterRun = true;
    m_result->close();
    QCoreApplication::exit(0);
}

}  // namespace tarnik
