// frmMain's file commands: New, Open, the recent files, Save, Save As, Exit
// and the start-up file, with the question about unsaved changes and the
// file reading and writing behind them.
#include <QDir>
#include <QFile>
#include <QSaveFile>

#include "ui/Dialogs.h"
#include "ui/EditorText.h"
#include "ui/RecentFiles.h"
#include "ui/frmMain.h"
#include "ui_frmMain.h"

namespace tarnik {
namespace {

const QString kSaveQuestionTitle = QStringLiteral("警告");
const QString kSaveQuestion = QStringLiteral("内容已经更改,是否保存?");
const QString kOpenTitle = QStringLiteral("打开");
const QString kSaveAsTitle = QStringLiteral("另存为");
const QString kOpenFilter = QStringLiteral("Tarnik文件 (*.tnk *.bas);;所有文件 (*)");
const QString kSaveFilter = QStringLiteral("Tarnik文件 (*.tnk)");
const QString kFileErrorTitle = QStringLiteral("Tarnik");

}  // namespace

void frmMain::mnuFileNew_Click()
{
    if (settleUnsavedChanges()) ClearEditor();
}

void frmMain::mnuFileOpen_Click()
{
    if (!settleUnsavedChanges()) return;
    // The text goes only when another has taken its place: after 否, a
    // cancelled dialog or an unreadable file leaves it as it was, unsaved.
    const QString name = m_dialogs.openFileName(this, kOpenTitle, kOpenFilter);
    if (name.isEmpty()) return;
    if (std::optional<DecodedSource> source = FileRead(name)) loadFile(name, *source);
}

void frmMain::mnuFileSave_Click()
{
    SaveFile();
}

void frmMain::mnuFileSaveAs_Click()
{
    SaveFileAs();
}

void frmMain::mnuFileExit_Click()
{
    if (!settleUnsavedChanges()) return;
    m_exiting = true;
    close();
}

// A file that is gone is taken off the list, and the editor keeps its text.
void frmMain::openRecentFile(const QString& path)
{
    if (!QFile::exists(path)) {
        m_recentFiles->remove(path);
        m_dialogs.showMessage(this, MessageIcon::Warning, kFileErrorTitle,
                              QStringLiteral("找不到文件“%1”，已将它从最近的文件中移除。").arg(QDir::toNativeSeparators(path)));
        return;
    }
    if (!settleUnsavedChanges()) return;
    if (std::optional<DecodedSource> source = FileRead(path)) loadFile(path, *source);
}

void frmMain::openCommandLineFile(const QString& path)
{
    if (!QFile::exists(path)) {
        ClearEditor();
        CurrentFile = path;
        return;
    }
    if (std::optional<DecodedSource> source = FileRead(path)) loadFile(path, *source);
}

void frmMain::ClearEditor()
{
    loadEditorText({});
    CurrentFile.clear();
    m_encoding = SourceEncoding::Utf8;
}

void frmMain::loadFile(const QString& path, const DecodedSource& source)
{
    loadEditorText(source.text);
    CurrentFile = path;
    m_encoding = source.encoding;
    m_recentFiles->add(path);
}

// A text just loaded is shown as it was stored: its lines are rewritten
// only once the caret moves to another line, so that opening a file does not
// change it (and mark it modified) by itself.
void frmMain::loadEditorText(std::u16string_view text)
{
    ui->txtSource->setPlainText(widgetText(text));
    Modified = false;
    // The text it replaced was saved, or its changes discarded by the user.
    keepRecoveryRecord();
    holdRewriteOnCaretLine();
}

bool frmMain::settleUnsavedChanges()
{
    if (!Modified) return true;
    switch (m_dialogs.askYesNoCancel(this, kSaveQuestionTitle, kSaveQuestion)) {
    case Answer::Yes: return SaveFile();
    case Answer::No: return true;
    case Answer::Cancel: return false;
    }
    return false;
}

bool frmMain::SaveFile()
{
    if (!CurrentFile.isEmpty()) return FileWrite(CurrentFile);
    return SaveFileAs();
}

bool frmMain::SaveFileAs()
{
    const QString name = m_dialogs.saveFileName(this, kSaveAsTitle, kSaveFilter);
    if (name.isEmpty() || !FileWrite(name)) return false;
    CurrentFile = name;
    m_recentFiles->add(name);
    return true;
}

std::optional<DecodedSource> frmMain::FileRead(const QString& Filename)
{
    QFile file(Filename);
    if (!file.open(QIODevice::ReadOnly)) {
        showFileError(QStringLiteral("无法打开文件"), Filename, file.errorString());
        return std::nullopt;
    }
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        showFileError(QStringLiteral("无法读取文件"), Filename, file.errorString());
        return std::nullopt;
    }
    return decodeSource(std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())));
}

// Writes a temporary file and renames it over the old one, so a failed save
// leaves the old file as it was.
bool frmMain::FileWrite(const QString& Filename)
{
    const std::u16string text = crLfText(*ui->txtSource);
    SourceEncoding encoding = m_encoding;
    std::optional<std::string> bytes = encodeSource(text, encoding);
    if (!bytes) {
        // A GBK file that now holds a character GBK lacks is saved as UTF-8
        // rather than with a stand-in for that character.
        encoding = SourceEncoding::Utf8;
        bytes = toUtf8(text);
    }
    QSaveFile file(Filename);
    const auto size = static_cast<qint64>(bytes->size());
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes->data(), size) != size || !file.commit()) {
        showFileError(QStringLiteral("无法保存文件"), Filename, file.errorString());
        return false;
    }
    m_encoding = encoding;
    Modified = false;
    keepRecoveryRecord();
    return true;
}

void frmMain::showFileError(const QString& what, const QString& path, const QString& reason)
{
    m_dialogs.showMessage(this, MessageIcon::Warning, kFileErrorTitle,
                          QStringLiteral("%1“%2”：\n%3").arg(what, QDir::toNativeSeparators(path), reason));
}

}  // namespace tarnik
