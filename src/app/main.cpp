// tarnik: the IDE. Opens the editor window, with the file named on the
// command line when there is one ("-" reads the text from standard input, as
// a new document not yet saved), then offers what an IDE that is gone left
// unsaved.
#include <QApplication>
#include <QFile>
#include <QIcon>

#include <iostream>
#include <optional>
#include <string_view>

#include "app/BuildInfo.h"
#include "services/SourceText.h"
#include "ui/ChineseUi.h"
#include "ui/QtDialogs.h"
#include "ui/TerminationSignals.h"
#include "ui/frmMain.h"

namespace {

void printHelp()
{
    std::cout << "tarnik " << tarnik::kVersion << "：Tarnik BASIC 编程环境\n\n"
                 "用法：\n"
                 "  tarnik [FILE]\n      打开编程环境；给出 FILE 时打开这个程序文件\n"
                 "  tarnik -\n      从标准输入读入程序，作为尚未保存的新文件打开\n"
                 "  tarnik --version\n      显示版本\n"
                 "  tarnik --help\n      显示本帮助\n\n"
                 "不打开窗口、在命令行中运行程序：tarnik-cli（见 tarnik-cli --help）。\n";
}

// --version and --help are answered before Qt starts, so that they need no display.
std::optional<int> answerInformationOption(int argc, char* argv[])
{
    if (argc != 2) return std::nullopt;
    const std::string_view option = argv[1];
    if (option == "--version") {
        std::cout << "tarnik " << tarnik::kVersion << '\n';
        return 0;
    }
    if (option == "--help" || option == "-h") {
        printHelp();
        return 0;
    }
    return std::nullopt;
}

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
    if (std::optional<int> status = answerInformationOption(argc, argv)) return *status;

    QApplication app(argc, argv);
    // Lets a Wayland desktop match the window to the installed desktop entry and its icon.
    QGuiApplication::setDesktopFileName(QString::fromLatin1(tarnik::kApplicationId));
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
