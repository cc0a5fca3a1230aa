#include "ui/storage/TarnikSettings.h"

#include <QDataStream>
#include <QFile>
#include <QFileDevice>

namespace tarnik {
namespace {

const QString kName = QStringLiteral("Tarnik");

bool readSettings(QIODevice& device, QSettings::SettingsMap& map)
{
    if (device.atEnd()) return true;
    QDataStream in(&device);
    in >> map;
    return in.status() == QDataStream::Ok;
}

// The device is the QSaveFile QSettings opened: a false return keeps the old file.
bool writeSettings(QIODevice& device, const QSettings::SettingsMap& map)
{
    QByteArray bytes;
    QDataStream out(&bytes, QIODevice::WriteOnly);
    out << map;
    if (device.write(bytes) != bytes.size()) return false;
    auto* file = qobject_cast<QFileDevice*>(&device);
    return file == nullptr || (file->flush() && file->error() == QFileDevice::NoError);
}

QSettings::Format checkedFormat()
{
    static const QSettings::Format format = QSettings::registerFormat(QStringLiteral("settings"), readSettings,
                                                                      writeSettings);
    return format;
}

// Once a process: the file exists from then on.
void takeOverEarlierSettings()
{
    static bool checked = false;
    if (checked) return;
    checked = true;
    QSettings settings(checkedFormat(), QSettings::UserScope, kName, kName);
    if (QFile::exists(settings.fileName())) return;
    const QSettings earlier(kName, kName);
    for (const QString& key : earlier.allKeys()) settings.setValue(key, earlier.value(key));
}

}  // namespace

QSettings tarnikSettings()
{
    takeOverEarlierSettings();
    return QSettings(checkedFormat(), QSettings::UserScope, kName, kName);
}

bool storeSettings(QSettings& settings)
{
    settings.sync();
    return settings.status() == QSettings::NoError;
}

}  // namespace tarnik
