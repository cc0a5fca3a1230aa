#include "ui/storage/CheckedFileWriter.h"

#include <QFileInfo>
#include <QSaveFile>
#include <cerrno>
#include <cstring>
#include <utility>

namespace tarnik {
namespace {

FileWriteResult failed(const QString& reason) { return {false, reason}; }

FileWriteResult failedWith(QSaveFile& file)
{
    const QString reason = chineseFileError(file.errorString());
    file.cancelWriting();
    return failed(reason);
}

}  // namespace

FileWriteResult writeFileChecked(const QString& path, QByteArrayView bytes, LinkPolicy links)
{
    const QFileInfo info(path);
    if (links == LinkPolicy::Refuse && info.isSymLink()) {
        return failed(QStringLiteral("它是一个链接，可能指向别处的文件，为了安全没有写入"));
    }
    if (info.exists() && !info.isFile()) {
        return failed(QStringLiteral("同名的文件夹、设备或管道已经存在"));
    }
    QSaveFile file(path);
    // Writing in place would let a failure damage the old file.
    file.setDirectWriteFallback(false);
    if (!file.open(QIODevice::WriteOnly)) return failed(chineseFileError(file.errorString()));
    if (file.write(bytes.data(), bytes.size()) != bytes.size()) return failedWith(file);
    // The write above may only have filled Qt's buffer: only a flush tells
    // whether the bytes reached the file.
    if (!file.flush() || file.error() != QFileDevice::NoError) return failedWith(file);
    if (!file.commit()) return failed(chineseFileError(file.errorString()));
    return {true, {}};
}

QString chineseFileError(const QString& systemText)
{
    static const std::pair<int, const char*> kKnown[] = {
        {ENOSPC, "磁盘已满"},
        {EDQUOT, "已超出磁盘配额"},
        {EFBIG, "文件超出了允许的大小"},
        {EACCES, "没有写入权限"},
        {EPERM, "没有写入权限"},
        {EROFS, "磁盘是只读的"},
        {ENOENT, "文件夹不存在"},
        {EIO, "磁盘读写出错"},
    };
    for (const auto& [code, words] : kKnown) {
        if (systemText.contains(QString::fromLocal8Bit(std::strerror(code)), Qt::CaseInsensitive)) {
            return QString::fromUtf8(words);
        }
    }
    return systemText.isEmpty() ? QStringLiteral("未知的错误") : systemText;
}

}  // namespace tarnik
