#include "ui/storage/DiskStamp.h"

#include <QCryptographicHash>
#include <QFile>
#include <QFileInfo>

namespace tarnik {
namespace {

QByteArray hashOf(QByteArrayView bytes)
{
    return QCryptographicHash::hash(bytes, QCryptographicHash::Sha1);
}

}  // namespace

DiskStamp DiskStamp::of(const QString& path, QByteArrayView bytes)
{
    DiskStamp stamp;
    const QFileInfo info(path);
    stamp.m_size = info.size();
    stamp.m_modified = info.lastModified();
    stamp.m_hash = hashOf(bytes);
    return stamp;
}

DiskStamp DiskStamp::ofFile(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return {};
    return of(path, file.readAll());
}

bool DiskStamp::changedOnDisk(const QString& path) const
{
    const QFileInfo info(path);
    if (!info.isFile()) return false;  // gone or replaced by no file: there is nothing to lose
    if (info.size() == m_size && info.lastModified() == m_modified) return false;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return false;
    return hashOf(file.readAll()) != m_hash;
}

}  // namespace tarnik
