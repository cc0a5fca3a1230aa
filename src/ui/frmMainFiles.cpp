// frmMain's file commands: New, Open, the recent files, Save, Save As, Exit
// and the start-up file, with the question about unsaved changes and the file
// reading and writing behind them; the encodings a file is read and written in.
//
// No path rewrites a user's bytes without a yes: what is not a text file is
// refused, and a file that would not be written back exactly as it was read
// (unreadable bytes, binary content) is opened and first saved only after a
// question that names the problem.
#include <QActionGroup>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QMenu>
#include <QScopeGuard>
#include <QStorageInfo>
#include <algorithm>

#include "expr/TextHelpers.h"
#include "ui/storage/CheckedFileWriter.h"
#include "ui/Dialogs.h"
#include "ui/EditorText.h"
#include "ui/storage/RecentFiles.h"
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
const QString kSaveTitle = QStringLiteral("保存");
constexpr int kNoteMs = 5000;  // how long a note stays in the status bar

// Far more than any program (at most 32767 lines), and about what the editor
// lays out in a blink; larger files are asked about before they are read.
constexpr qint64 kLargeFileBytes = 2 * 1024 * 1024;
constexpr qsizetype kMaxProgramLines = 32767;

struct EncodingName {
    SourceEncoding encoding;
    const char* name;
    bool reopenable;  // offered by 以其他编码重新打开: the mark of UTF-8 is found by itself
};
constexpr EncodingName kEncodingNames[] = {
    {SourceEncoding::Utf8, "UTF-8", true},          {SourceEncoding::Utf8WithBom, "UTF-8 BOM", false},
    {SourceEncoding::Gbk, "GBK", true},             {SourceEncoding::Utf16Le, "UTF-16 LE", true},
    {SourceEncoding::Utf16Be, "UTF-16 BE", true},
};

QString encodingName(SourceEncoding encoding)
{
    const auto* found = std::find_if(std::begin(kEncodingNames), std::end(kEncodingNames),
                                     [&](const EncodingName& name) { return name.encoding == encoding; });
    return QString::fromLatin1(found->name);
}

QString lineEndsName(LineEnds ends)
{
    switch (ends) {
    case LineEnds::CrLf: return QStringLiteral("CR LF");
    case LineEnds::Lf: return QStringLiteral("LF");
    case LineEnds::Cr: return QStringLiteral("CR");
    }
    return {};
}

QString quoted(const QString& path) { return QStringLiteral("“%1”").arg(QDir::toNativeSeparators(path)); }

// Why a file would not be written back as it was read; empty when it would.
QString lossOf(const DecodedSource& source)
{
    QString loss;
    if (source.binary) {
        loss += QStringLiteral("它含有 NUL 等控制字符，看起来不是文本文件（也可能是没有字节顺序标记的 UTF-16 文件）。");
    }
    if (source.replacements > 0) {
        loss += QStringLiteral("其中 %1 处字节无法按 %2 读取，已显示为 \uFFFD。")
                    .arg(source.replacements)
                    .arg(encodingName(source.encoding));
    }
    if (loss.isEmpty() && !source.roundTrips) {
        loss = QStringLiteral("按 %1 读取后无法原样写回。").arg(encodingName(source.encoding));
    }
    return loss;
}

// A file of the kernel's pseudo file systems: it looks like a regular file of
// size 0, but a read may never end (/proc/kmsg).
bool isKernelFile(const QString& path)
{
    static const QStringList kKernelFileSystems{QStringLiteral("proc"), QStringLiteral("sysfs"),
                                                QStringLiteral("debugfs"), QStringLiteral("tracefs"),
                                                QStringLiteral("securityfs"), QStringLiteral("configfs")};
    return kKernelFileSystems.contains(QString::fromLatin1(QStorageInfo(path).fileSystemType()));
}

// The first character `encoding` has no form for.
QString firstCharacterOutside(std::u16string_view text, SourceEncoding encoding)
{
    for (std::size_t i = 0; i < text.size();) {
        const std::size_t units = unitsOfCharacterAt(text, i);
        if (!encodeSource(text.substr(i, units), encoding)) {
            return QString::fromStdU16String(std::u16string(text.substr(i, units)));
        }
        i += units;
    }
    return {};
}

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
    if (std::optional<LoadedFile> file = FileRead(name)) loadFile(name, *file);
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
    if (std::optional<LoadedFile> file = FileRead(path)) loadFile(path, *file);
}

void frmMain::openCommandLineFile(const QString& path)
{
    if (!QFile::exists(path)) {
        ClearEditor();
        CurrentFile = path;
        return;
    }
    if (std::optional<LoadedFile> file = FileRead(path)) loadFile(path, *file);
}

void frmMain::ClearEditor()
{
    loadEditorText({});
    CurrentFile.clear();
    m_encoding = SourceEncoding::Utf8;
    m_lineEnds = LineEnds::CrLf;
    m_readLoss.clear();
    m_diskStamp = {};
    showFileFormat();
    watchCurrentFile();
}

void frmMain::loadFile(const QString& path, const LoadedFile& file)
{
    loadEditorText(file.source.text);
    CurrentFile = path;
    m_encoding = file.source.encoding;
    m_lineEnds = file.source.lineEnds;
    m_readLoss = lossOf(file.source);
    m_diskStamp = file.stamp;
    showFileFormat();
    watchCurrentFile();
    m_recentFiles->add(path);
}

// A text just loaded is shown as it was stored, and only the lines the user
// edits are ever rewritten: opening a file and moving through it never
// changes it (nor marks it modified).
void frmMain::loadEditorText(std::u16string_view text)
{
    {
        // Laying out a large text keeps the window from answering for a while.
        QGuiApplication::setOverrideCursor(Qt::WaitCursor);
        const auto restore = qScopeGuard([] { QGuiApplication::restoreOverrideCursor(); });
        ui->txtSource->loadText(widgetText(text));
    }
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
    if (CurrentFile.isEmpty()) return SaveFileAs();
    if (!FileWrite(CurrentFile)) return false;
    watchCurrentFile();
    return true;
}

bool frmMain::SaveFileAs()
{
    const QString name = m_dialogs.saveFileName(this, kSaveAsTitle, kSaveFilter);
    if (name.isEmpty() || !FileWrite(name)) return false;
    CurrentFile = name;
    m_recentFiles->add(name);
    watchCurrentFile();
    return true;
}

std::optional<frmMain::LoadedFile> frmMain::FileRead(const QString& Filename, std::optional<SourceEncoding> encoding)
{
    if (!mayReadFile(Filename)) return std::nullopt;
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
    const std::string_view view(bytes.constData(), static_cast<std::size_t>(bytes.size()));
    LoadedFile loaded{encoding ? decodeSourceAs(view, *encoding) : decodeSource(view), DiskStamp::of(Filename, bytes)};
    if (!mayOpenDecoded(Filename, loaded.source)) return std::nullopt;
    return loaded;
}

// Refuses what is no text file and asks before reading a huge one; the
// question comes before a byte is read, so the window answers at once.
bool frmMain::mayReadFile(const QString& path)
{
    const QFileInfo info(path);
    if (info.exists() && !info.isFile()) {
        showFileError(QStringLiteral("无法打开文件"), path,
                      QStringLiteral("它不是普通文件（而是文件夹、设备或管道），不能作为程序打开。"));
        return false;
    }
    if (isKernelFile(path)) {
        showFileError(QStringLiteral("无法打开文件"), path,
                      QStringLiteral("它是操作系统内核提供的特殊文件，读取它可能永远不会结束，不能作为程序打开。"));
        return false;
    }
    if (info.size() <= kLargeFileBytes) return true;
    const QString text = QStringLiteral("%1有 %2 MB，远远大于一个程序（一个程序最多 %3 行）。\n"
                                        "打开它需要一些时间，这期间编辑器不能使用。仍要打开吗？")
                             .arg(quoted(path))
                             .arg(static_cast<double>(info.size()) / (1024.0 * 1024.0), 0, 'f', 1)
                             .arg(kMaxProgramLines);
    return m_dialogs.askChoice(this, kOpenTitle, text, {QStringLiteral("打开")}) == 0;
}

bool frmMain::mayOpenDecoded(const QString& path, const DecodedSource& source)
{
    const auto lines = static_cast<qsizetype>(std::count(source.text.begin(), source.text.end(), u'\n')) + 1;
    if (lines > kMaxProgramLines) {
        const QString text = QStringLiteral("%1有 %2 行，超过了一个程序最多的 %3 行，不能作为程序运行。仍要打开吗？")
                                 .arg(quoted(path))
                                 .arg(lines)
                                 .arg(kMaxProgramLines);
        if (m_dialogs.askChoice(this, kOpenTitle, text, {QStringLiteral("打开")}) != 0) return false;
    }
    const QString loss = lossOf(source);
    if (loss.isEmpty()) return true;
    const QString text = QStringLiteral("%1没有办法原样打开：%2\n"
                                        "打开后保存会改变文件中的这些字节。可以用“文件”菜单中的“以其他编码重新打开”换一种编码。"
                                        "仍要打开吗？")
                             .arg(quoted(path), loss);
    return m_dialogs.askChoice(this, kOpenTitle, text, {QStringLiteral("仍然打开")}) == 0;
}

// A failed save leaves the old file as it was and the text modified.
bool frmMain::FileWrite(const QString& Filename)
{
    if (!mayOverwrite(Filename)) return false;
    SourceEncoding encoding = m_encoding;
    const std::optional<std::string> bytes = bytesToSave(Filename, encoding);
    if (!bytes) return false;
    const auto size = static_cast<qint64>(bytes->size());
    // A link the user saves through names the file they mean: its target is written.
    const FileWriteResult written = writeFileChecked(Filename, QByteArrayView(bytes->data(), size), LinkPolicy::Follow);
    if (!written) {
        m_dialogs.showMessage(this, MessageIcon::Warning, kFileErrorTitle,
                              QStringLiteral("无法保存 %1：%2。\n文件没有改变，编辑器中的内容仍然保留。")
                                  .arg(QDir::toNativeSeparators(Filename), written.reason));
        return false;
    }
    if (encoding != m_encoding) {
        ui->sbStatusBar->showMessage(QStringLiteral("已保存为 %1").arg(encodingName(encoding)), kNoteMs);
    }
    m_encoding = encoding;
    m_readLoss.clear();
    m_diskStamp = DiskStamp::of(Filename, QByteArrayView(bytes->data(), size));
    Modified = false;
    keepRecoveryRecord();
    showFileFormat();
    return true;
}

std::optional<std::string> frmMain::bytesToSave(const QString& path, SourceEncoding& encoding)
{
    // Saved elsewhere, the file read with a loss stays as it was.
    if (!m_readLoss.isEmpty() && path == CurrentFile) {
        const QString text = QStringLiteral("%1打开时没有原样读取：%2\n"
                                            "保存会用编辑器中的内容替换整个文件，原来的这些字节将永远丢失。仍要保存吗？")
                                 .arg(quoted(path), m_readLoss);
        if (m_dialogs.askChoice(this, kSaveTitle, text, {QStringLiteral("保存")}) != 0) return std::nullopt;
    }
    const std::u16string text = withLineEnds(crLfText(*ui->txtSource), m_lineEnds);
    if (std::optional<std::string> bytes = encodeSource(text, encoding)) return bytes;
    // Never a stand-in for a character the encoding lacks: UTF-8 holds them all.
    const QString question = QStringLiteral("%1是 %2 编码的文件，但现在含有 %2 无法表示的字符“%3”。\n"
                                            "继续将把文件保存为 UTF-8 编码。")
                                 .arg(quoted(path), encodingName(encoding), firstCharacterOutside(text, encoding));
    if (m_dialogs.askChoice(this, kSaveTitle, question, {QStringLiteral("保存为 UTF-8")}) != 0) return std::nullopt;
    encoding = SourceEncoding::Utf8;
    return toUtf8(text);
}

// ---- encodings --------------------------------------------------------------

// 以其他编码重新打开 reads the file again (the edits go); 保存编码 changes only
// what the next save writes. Kept apart so that neither does the other's work.
void frmMain::createEncodingMenus()
{
    QMenu* reopen = new QMenu(QStringLiteral("以其他编码重新打开(&R)"), this);
    reopen->setObjectName(QStringLiteral("mnuFileReopen"));
    m_saveEncodingMenu = new QMenu(QStringLiteral("保存编码(&E)"), this);
    m_saveEncodingMenu->setObjectName(QStringLiteral("mnuFileSaveEncoding"));
    auto* saveGroup = new QActionGroup(this);
    for (const EncodingName& name : kEncodingNames) {
        const QString text = QString::fromLatin1(name.name);
        if (name.reopenable) {
            QAction* again = reopen->addAction(text, this, [this, encoding = name.encoding] { reopenInEncoding(encoding); });
            again->setObjectName(QStringLiteral("mnuFileReopen ") + text);
        }
        QAction* save = m_saveEncodingMenu->addAction(text, this,
                                                      [this, encoding = name.encoding] { chooseSaveEncoding(encoding); });
        save->setObjectName(QStringLiteral("mnuFileSaveEncoding ") + text);
        save->setCheckable(true);
        save->setData(static_cast<int>(name.encoding));
        saveGroup->addAction(save);
    }
    ui->mnuFile->insertMenu(ui->mnuFileExit, reopen);
    ui->mnuFile->insertMenu(ui->mnuFileExit, m_saveEncodingMenu);
    ui->mnuFile->insertSeparator(ui->mnuFileExit);
}

void frmMain::reopenInEncoding(SourceEncoding encoding)
{
    if (CurrentFile.isEmpty() || !QFile::exists(CurrentFile) || !settleUnsavedChanges()) return;
    const QString path = CurrentFile;
    if (std::optional<LoadedFile> file = FileRead(path, encoding)) loadFile(path, *file);
}

void frmMain::chooseSaveEncoding(SourceEncoding encoding)
{
    if (encoding == m_encoding) return;
    m_encoding = encoding;
    Modified = true;  // the next save writes the file anew
    showFileFormat();
}

void frmMain::showFileFormat()
{
    QString text = encodingName(m_encoding) + QStringLiteral(" · ") + lineEndsName(m_lineEnds);
    if (!m_readLoss.isEmpty()) text = QStringLiteral("⚠ 未能原样读取 · ") + text;
    m_formatPanel->setText(text);
    m_formatPanel->setToolTip(m_readLoss);
    for (QAction* action : m_saveEncodingMenu->actions()) {
        action->setChecked(action->data().toInt() == static_cast<int>(m_encoding));
    }
}

// ---- external changes -------------------------------------------------------

bool frmMain::mayOverwrite(const QString& path)
{
    if (path != CurrentFile || !m_diskStamp.changedOnDisk(path)) return true;
    const QString text = QStringLiteral("%1在打开之后被其他程序修改过。\n"
                                        "覆盖会丢掉其他程序所做的修改；重新载入会丢掉编辑器中尚未保存的修改。")
                             .arg(quoted(path));
    switch (m_dialogs.askChoice(this, kSaveTitle, text, {QStringLiteral("覆盖"), QStringLiteral("重新载入")})) {
    case 0: return true;
    case 1: reloadFromDisk(); return false;
    default: return false;
    }
}

void frmMain::reloadFromDisk()
{
    const QString path = CurrentFile;
    if (std::optional<LoadedFile> file = FileRead(path)) {
        loadFile(path, *file);
        ui->sbStatusBar->showMessage(QStringLiteral("已重新载入"), kNoteMs);
    }
}

// A save that renames a new file over the old one (QSaveFile, and many other
// editors) ends the watch, so the path is watched anew after every load and save.
// While the file is gone its folder is watched instead, to see it come back.
void frmMain::watchCurrentFile()
{
    const QStringList watched = m_watcher.files() + m_watcher.directories();
    if (!watched.isEmpty()) m_watcher.removePaths(watched);
    if (CurrentFile.isEmpty()) return;
    const QFileInfo file(CurrentFile);
    if (file.exists()) {
        m_watcher.addPath(CurrentFile);
    } else if (file.absoluteDir().exists()) {
        m_watcher.addPath(file.absolutePath());
    }
}

// Unmodified text follows the file at once; edits are kept unless the user
// chooses to reload. Nothing happens while a question is open or for a change
// that leaves the bytes as they were.
void frmMain::checkFileOnDisk()
{
    if (m_checkingDisk || CurrentFile.isEmpty()) return;
    if (QApplication::activeModalWidget() != nullptr) {
        m_diskCheck.start();  // after the user has answered what is open
        return;
    }
    watchCurrentFile();
    if (!QFileInfo::exists(CurrentFile)) {
        showStatus(QStringLiteral("磁盘上已没有 %1（被删除或移走了）。编辑器中的内容仍然保留，保存会重新建立这个文件。")
                       .arg(QDir::toNativeSeparators(CurrentFile)));
        return;
    }
    if (!m_diskStamp.changedOnDisk(CurrentFile)) return;
    m_checkingDisk = true;
    if (!Modified) {
        reloadFromDisk();
    } else {
        const QString text = QStringLiteral("%1已被其他程序修改。\n重新载入会丢掉编辑器中尚未保存的修改。")
                                 .arg(quoted(CurrentFile));
        if (m_dialogs.askChoice(this, QStringLiteral("文件已改变"), text, {QStringLiteral("重新载入")}) == 0) {
            reloadFromDisk();
        }
    }
    m_checkingDisk = false;
}

void frmMain::showFileError(const QString& what, const QString& path, const QString& reason)
{
    m_dialogs.showMessage(this, MessageIcon::Warning, kFileErrorTitle,
                          QStringLiteral("%1“%2”：\n%3").arg(what, QDir::toNativeSeparators(path), reason));
}

}  // namespace tarnik
