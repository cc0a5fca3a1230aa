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
#include "ui/frmResult.h"
#include "ui_frmMain.h"

namespace tarnik {
namespace {

const QString kRecoveryTitle = QStringLiteral("恢复未保存的程序");

QString shownTime(const QDateTime& time)
{
    return QLocale().toString(time.toLocalTime(), QStringLiteral("yyyy-MM-dd HH:mm:ss"));
}

// Saving a recovered text replaces the file without asking, so the offer
// says when the file is no longer what the record was made against.
QString diskWarning(const RecoveryRecord& record)
{
    if (record.file.isEmpty()) return {};
    const QFileInfo disk(record.file);
    if (!disk.exists()) return QStringLiteral("注意：磁盘上已没有这个文件，恢复后保存会重新建立它。\n\n");
    if (disk.lastModified() <= record.written) return {};
    return QStringLiteral("注意：磁盘上的这个文件在记录之后又被修改过（%1），恢复后保存会覆盖那次修改。\n\n")
        .arg(shownTime(disk.lastModified()));
}

QString recoveryQuestion(const RecoveryRecord& record)
{
    const QString file = record.file.isEmpty() ? QStringLiteral("新文件")
                                               : QStringLiteral("“%1”").arg(QDir::toNativeSeparators(record.file));
    return QStringLiteral("Tarnik 上次没有正常结束，%1的修改没有保存（记录于 %2）。\n\n"
                          "%3"
                          "恢复：打开这些内容，它们仍未保存，保存时写回原来的文件。\n"
                          "丢弃：删除这份记录。\n"
                          "取消：保留这份记录，下次启动时再问。")
        .arg(file, shownTime(record.written), diskWarning(record));
}

}  // namespace

void frmMain::openUnsavedText(std::u16string_view text)
{
    ClearEditor();
    loadEditorText(text);
    Modified = true;
    m_recoveryDelay.start();
}

void frmMain::offerRecovery()
{
    m_recovery.claim();
    if (Modified) return;
    for (const RecoveryRecord& record : m_recovery.takeLeftRecords()) {
        const Answer answer = m_dialogs.offerRecovery(this, kRecoveryTitle, recoveryQuestion(record));
        if (answer == Answer::No) RecoveryStore::discard(record);
        if (answer == Answer::Yes) {
            recoverText(record);
            break;
        }
    }
    m_recovery.releaseLeftRecords();
}

// The recovered text is this IDE's now: its old record goes once this IDE
// has written its own.
void frmMain::recoverText(const RecoveryRecord& record)
{
    ClearEditor();
    loadEditorText(record.text.toStdU16String());
    CurrentFile = record.file;
    m_encoding = record.encoding;
    // The user chose the recovered text over the file as it is now, so a
    // save replaces that without asking again.
    m_diskStamp = DiskStamp::ofFile(CurrentFile);
    watchCurrentFile();
    showFileFormat();
    Modified = true;
    if (keepRecoveryRecord()) RecoveryStore::discard(record);
}

bool frmMain::keepRecoveryRecord()
{
    m_recoveryDelay.stop();
    if (!Modified) {
        m_recovery.remove();
        return true;
    }
    if (m_recovery.write(CurrentFile, m_encoding, toQString(crLfText(*ui->txtSource)))) return true;
    // No box: this happens while the user types, and nothing is lost yet.
    showStatus(QStringLiteral("无法写入恢复记录（%1），未保存的内容只在编辑器中。")
                   .arg(QDir::toNativeSeparators(RecoveryStore::defaultRoot())));
    return false;
}

void frmMain::endOnSignal()
{
    keepRecoveryRecord();
    // A run ends at its next statement, and every event loop returns.
    m_result->hide();
    QCoreApplication::exit(0);
}

}  // namespace tarnik
