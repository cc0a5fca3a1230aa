// tarnik: the IDE. Opens the editor window, with the file named on the
// command line when there is one.
#include <QApplication>
#include <QIcon>

#include "ui/ChineseUi.h"
#include "ui/QtDialogs.h"
#include "ui/frmMain.h"

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    tarnik::installChineseUi(app);
    tarnik::QtDialogs dialogs;
    tarnik::frmMain window(dialogs);
    QApplication::setWindowIcon(window.windowIcon());
    window.show();

    // The whole command line is one path, blanks and all.
    const QString path = QCoreApplication::arguments().mid(1).join(QLatin1Char(' '));
    if (!path.isEmpty()) window.openCommandLineFile(path);
    return app.exec();
}
