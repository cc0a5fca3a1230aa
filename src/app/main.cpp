// tarnik: the IDE. Opens the editor window, with the file named on the
// command line when there is one ("-" reads the text from standard input, as
// a new document not yet saved), then offers what an IDE that is gone left
// unsaved.
#include <QApplication>
#include <QFile>
#include <QIcon>
#include <QProcess>

#include <iostream>
#include <optional>
#include <string>
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
                 "  tarnik --recover FOLDER\n      打开恢复记录文件夹 FOLDER 中没有保存的程序"
                 "（选择“全部恢复”时，Tarnik 这样为每个记录打开一个窗口）\n"
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

// The command line: a file ("-" for standard input), or --recover FOLDER.
struct StartupRequest {
    QString path;  // the whole command line is one path, blanks and all
    QString recoverFolder;
};

StartupRequest startupRequest()
{
    const QStringList arguments = QCoreApplication::arguments().mid(1);
    if (arguments.size() == 2 && arguments[0] == QLatin1String("--recover")) return {QString(), arguments[1]};
    return {arguments.join(QLatin1Char(' ')), QString()};
}

std::u16string readStandardInput()
{
    QFile input;
    if (!input.open(stdin, QIODevice::ReadOnly)) return {};
    const QByteArray bytes = input.readAll();
    return tarnik::decodeSource(std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size()))).text;
}

// 全部恢复: a window holds one program, so each further record opens in an
// IDE of its own. Should that fail to start, the record stays for the next start.
void recoverInAnotherIde(const QString& folder)
{
    QProcess::startDetached(QCoreApplication::applicationFilePath(), {QStringLiteral("--recover"), folder});
}

void openStartupDocuments(tarnik::frmMain& window, const StartupRequest& request,
                          const std::optional<std::u16string>& standardInput)
{
    if (!request.recoverFolder.isEmpty()) {
        window.recoverFolder(request.recoverFolder);
        return;
    }
    if (standardInput) {
        window.openUnsavedText(*standardInput);
    } else if (!request.path.isEmpty()) {
        window.openCommandLineFile(request.path);
    }
    window.offerRecovery();
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
    const StartupRequest request = startupRequest();
    // Read before the signals are taken over: until the text is in the editor
    // there is nothing to keep, and a signal ends the IDE at once, which it
    // could not while the read waits.
    std::optional<std::u16string> standardInput;
    if (request.path == QLatin1String("-")) standardInput = readStandardInput();
    tarnik::TerminationSignals terminationSignals;
    tarnik::installChineseUi(app);
    tarnik::QtDialogs dialogs;
    tarnik::frmMain window(dialogs);
    QObject::connect(&terminationSignals, &tarnik::TerminationSignals::received, &window, &tarnik::frmMain::endOnSignal);
    QObject::connect(&window, &tarnik::frmMain::recordForAnotherWindow, &recoverInAnotherIde);
    QApplication::setWindowIcon(window.windowIcon());
    window.show();

    openStartupDocuments(window, request, standardInput);
    // A signal during a start-up question came before the event loop, which
    // would not know that it is to end.
    if (window.endingOnSignal()) return 0;
    return app.exec();
}
