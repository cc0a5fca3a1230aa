// tarnik-cli: the headless runner. One row per command in kCommands; a new
// command is a function in the cli namespace and a row here, which also puts
// it in the help text.
#ifdef _WIN32
#define NOMINMAX
#define WIN32_LEAN_AND_MEAN
#include <fcntl.h>
#include <io.h>
#include <windows.h>
#else
#include <fcntl.h>
#include <unistd.h>
#endif

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <exception>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

#include "app/BuildInfo.h"
#include "app/cliCommands.h"

namespace {

using namespace tarnik::cli;

struct Command {
    std::string_view name;
    std::string_view arguments;  // as the usage text shows them
    std::string_view summary;    // what it does, one line of the help text
    int (*run)(Arguments arguments);
};

constexpr Command kCommands[] = {
    {"run", "[--crlf] [--max-steps N] FILE", "运行程序，INPUT 的回答从标准输入读取", runCommand},
    {"check", "FILE", "只翻译程序，报告第一个错误", checkCommand},
    {"format", "[--crlf] FILE", "把每一行整理成编辑器的格式，写到标准输出", formatCommand},
    {"table", "FILE", "列出翻译并链接后的行表", tableCommand},
    {"lint", "FILE", "只翻译程序，列出警告：从未赋值就读取的变量、找不到的行号", lintCommand},
    {"explain", "N | [--max-steps N] FILE", "解释错误 N；或运行 FILE，解释它遇到的错误或它为什么停不下来",
     explainCommand},
    {"test", "[--oj] [--max-steps N] [--item N] FILE DIR",
     "用 DIR 中的测试用例（NAME.in 与 NAME.out）检查程序；--oj、.ans、zip 或 FPS 文件：按在线评测的方式评测", testCommand},
    {"grade", "[--max-steps N] [--jobs N] [--item N] [--csv OUT] [--html OUT] PROGRAMS CASES",
     "评测全班的程序：PROGRAMS 中每个学生的程序在 CASES 的每个用例上的结果、统计和相同的程序", gradeCommand},
    {"trace", "[--max-steps N] FILE", "运行程序，标准输出写执行记录：每条语句的步数、行号、改变的变量和输出", traceCommand},
};

void printUsageLine(std::ostream& out, const Command& command)
{
    out << "  tarnik-cli " << command.name << ' ' << command.arguments << '\n';
}

void printUsage(const Command* only = nullptr)
{
    std::cerr << "用法：\n";
    for (const Command& command : kCommands) {
        if (only == nullptr || only == &command) printUsageLine(std::cerr, command);
    }
    std::cerr << "详见 tarnik-cli --help\n";
}

std::string helpText()
{
    std::ostringstream text;
    text << "tarnik-cli " << tarnik::kVersion << "：Tarnik BASIC 程序的命令行运行器\n\n用法：\n";
    for (const Command& command : kCommands) {
        printUsageLine(text, command);
        text << "      " << command.summary << '\n';
    }
    text << "  tarnik-cli --version\n      显示版本\n"
            "  tarnik-cli --help\n      显示本帮助\n\n"
            "FILE 可以是 UTF-8 或 GBK 编码；名字以 - 开头的文件写在 -- 后面。"
            "程序出错时，标准错误的最后一行是“错误 N: 说明(第L行)”。\n";
    return text.str();
}

// Output is UTF-8 bytes with the line ends each command chose. Windows would
// write every LF as CR LF, end input at a Ctrl+Z and show UTF-8 in a console
// as its local code page; so while the runner works, its streams take bytes as
// they are and its console shows UTF-8.
class StandardStreams {
public:
    StandardStreams()
    {
#ifndef _WIN32
        // A standard stream the parent left closed is held by /dev/null, read
        // only: writing to it still fails, and no file a command opens (a
        // report, a case file) can take its number and receive its output.
        for (int stream : {STDIN_FILENO, STDOUT_FILENO, STDERR_FILENO}) {
            if (::fcntl(stream, F_GETFD) == -1 && errno == EBADF) (void)::open("/dev/null", O_RDONLY);
        }
#else
        for (std::FILE* stream : {stdin, stdout, stderr}) _setmode(_fileno(stream), _O_BINARY);
        m_consoleCodePage = GetConsoleOutputCP();
        if (m_consoleCodePage != 0) SetConsoleOutputCP(CP_UTF8);
#endif
    }
    ~StandardStreams()
    {
#ifdef _WIN32
        std::cout.flush();
        std::fflush(nullptr);
        if (m_consoleCodePage != 0) SetConsoleOutputCP(m_consoleCodePage);
#endif
    }
    StandardStreams(const StandardStreams&) = delete;
    StandardStreams& operator=(const StandardStreams&) = delete;

private:
#ifdef _WIN32
    unsigned m_consoleCodePage = 0;  // 0: no console
#endif
};

int runCommandLine(const std::vector<std::string>& words)
{
    if (words.empty()) {
        std::cerr << "tarnik-cli：没有给出命令\n";
        printUsage();
        return kExitFailure;
    }
    if (words.front() == "--version") return writeOutput("tarnik-cli " + std::string(tarnik::kVersion) + "\n");
    if (words.front() == "--help" || words.front() == "-h") return writeOutput(helpText());
    const auto* command = std::find_if(std::begin(kCommands), std::end(kCommands),
                                       [&](const Command& c) { return c.name == words.front(); });
    if (command == std::end(kCommands)) {
        std::cerr << "tarnik-cli：没有命令 " << words.front() << '\n';
        printUsage();
        return kExitFailure;
    }
    try {
        return command->run(Arguments(words).subspan(1));
    } catch (const CliFailure& failure) {
        std::cerr << "tarnik-cli " << command->name << "：" << failure.message << '\n';
        if (failure.showUsage) printUsage(command);
        return kExitFailure;
    } catch (const std::exception& failure) {
        // No input may end the runner with an abort: whatever was not
        // foreseen is still a message and a status.
        std::cerr << "tarnik-cli " << command->name << "：内部错误（" << failure.what() << "），命令没有完成。\n";
        return kExitFailure;
    }
}

}  // namespace

int main(int argc, char** argv)
{
#ifdef SIGPIPE
    // A reader that has gone must show as a failed write, which ends the run
    // with its own exit status, not as a signal that kills the process.
    std::signal(SIGPIPE, SIG_IGN);
#endif
    StandardStreams streams;
    return runCommandLine(std::vector<std::string>(argv + std::min(argc, 1), argv + argc));
}
