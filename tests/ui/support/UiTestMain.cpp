// The main of every UI test: a QApplication on the offscreen platform (unless
// the environment names another), Chinese like the IDE, with the settings and
// the data folder (recovery records, run history) in temporary folders.
#include <gtest/gtest.h>

#include <QApplication>
#include <QFile>
#include <QSettings>
#include <QTemporaryDir>
#include <QTextStream>

#include "ui/ChineseUi.h"

namespace {

// The offscreen platform says so for every raise() and size hint.
void quietUnsupportedPlatformCalls(QtMsgType type, const QMessageLogContext& context, const QString& message)
{
    if (message.startsWith(QLatin1String("This plugin does not support"))) return;
    QTextStream(stderr) << qFormatLogMessage(type, context, message) << '\n';
}

}  // namespace

int main(int argc, char* argv[])
{
    qInstallMessageHandler(quietUnsupportedPlatformCalls);
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QTemporaryDir dataDir;
    qputenv("XDG_DATA_HOME", QFile::encodeName(dataDir.path()));
    QApplication app(argc, argv);
    QCoreApplication::setOrganizationName(QStringLiteral("Tarnik"));
    QCoreApplication::setApplicationName(QStringLiteral("Tarnik"));
    QApplication::setQuitOnLastWindowClosed(false);
    tarnik::installChineseUi(app);

    QTemporaryDir settingsDir;
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settingsDir.path());
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, settingsDir.path());

    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
