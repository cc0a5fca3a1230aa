// The main of every UI test: a QApplication on the offscreen platform (unless
// the environment names another), Chinese like the IDE, with the settings in
// a temporary folder.
#include <gtest/gtest.h>

#include <QApplication>
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
    QApplication app(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    tarnik::installChineseUi(app);

    QTemporaryDir settingsDir;
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settingsDir.path());
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, settingsDir.path());

    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
