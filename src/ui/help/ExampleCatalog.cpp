#include "ui/help/ExampleCatalog.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace tarnik {
namespace {

const QString kIndexName = QStringLiteral("index.tsv");

bool hasIndex(const QString& folder)
{
    return !folder.isEmpty() && QFileInfo::exists(QDir(folder).filePath(kIndexName));
}

}  // namespace

QString examplesFolder()
{
    const QString installed =
        QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("../share/tarnik/examples"));
    if (hasIndex(installed)) return QDir::cleanPath(installed);
    const QString sourceTree = QStringLiteral(TARNIK_SOURCE_EXAMPLES_DIR);
    return hasIndex(sourceTree) ? sourceTree : QString();
}

std::vector<ExampleEntry> readExampleIndex(const QString& folder)
{
    std::vector<ExampleEntry> entries;
    QFile index(QDir(folder).filePath(kIndexName));
    if (!index.open(QIODevice::ReadOnly | QIODevice::Text)) return entries;
    const QStringList lines = QString::fromUtf8(index.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    for (const QString& line : lines) {
        const qsizetype tab = line.indexOf(QLatin1Char('\t'));
        if (tab <= 0) continue;
        entries.push_back({QDir(folder).filePath(line.left(tab)), line.mid(tab + 1).trimmed()});
    }
    return entries;
}

}  // namespace tarnik
