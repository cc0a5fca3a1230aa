// tarnik: the IDE. Opens the editor window, with the file named on the
// command line when there is one ("-" reads the text from standard input, as
// a new document not yet saved), then offers what an IDE that is gone left
// unsaved.
#include <QApplication>
#include <QFile>
#include <QIcon>

#include "interp/SourceText.h"
#include "ui/ChineseUi.h"
#include "ui/QtDialogs.h"
#include "ui/TerminationSignals.h"
#include "ui/frmMain.h"

namespace {

void openStartupText(tarnik::frmMain& window, const QString& path)
{
    if (path != QLatin1String("-")) {
        window.openCommandLineFile(path);
        return;
    }
    QFile input;
    if (!input.open(stdin, QIODevice::ReadOnly)) return;
    const QByteArray bytes = input.readAll();
    window.openUnsavedText(
        tarnik::decodeSource(std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size()))).text);
}

}  // namespace

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    // The data folder (recovery records, run history) is named after these.
    QCoreApplication::setOrganizationName(QStringLiteral("Tarnik"));
    QCoreApplication::setApplicationName(QStringLiteral("Tarnik"));
    tarnik::TerminationSignals terminationSignals;
    tarnik::installChineseUi(app);
    tarnik::QtDialogs dialogs;
    tarnik::frmMain window(dialogs);
    QObject::connect(&terminationSignals, &tarnik::TerminationSignals::received, &window, &tarnik::frmMain::endOnSignal);
    QApplication::setWindowIcon(window.windowIcon());
    window.show();

    // The whole command line is one path, blanks and all.
    const QString path = QCoreApplication::arguments().mid(1).join(QLatin1Char(' '));
    if (!path.isEmpty()) openStartupText(window, path);
    window.offerRecovery();
    return app.exec();
}
