// tarnik-cli run and format.
#include <charconv>
#include <iostream>

#include "app/StdioHost.h"
#include "app/cliCommands.h"
#include "expr/TextHelpers.h"
#include "services/LineFormatter.h"
#include "services/SourceText.h"

namespace tarnik::cli {
namespace {

struct Options {
    bool keepCrLf = false;
    std::optional<std::int64_t> maxSteps;
    std::string file;
};

std::int64_t stepCount(const std::string& text)
{
    std::int64_t count = 0;
    auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), count);
    if (error != std::errc{} || end != text.data() + text.size() || count < 0) {
        throw CliFailure{"--max-steps 后面应是语句条数（不小于 0 的整数），而不是 " + text, true};
    }
    return count;
}

Options parseOptions(Arguments arguments, bool allowMaxSteps)
{
    Options options;
    std::vector<std::string> files;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& word = arguments[i];
        if (word == "--crlf") {
            options.keepCrLf = true;
        } else if (word == "--max-steps" && allowMaxSteps) {
            if (++i == arguments.size()) throw CliFailure{"--max-steps 后面缺少语句条数", true};
            options.maxSteps = stepCount(arguments[i]);
        } else {
            files.push_back(word);
        }
    }
    options.file = fileArgument(files);
    return options;
}

}  // namespace

int runCommand(Arguments arguments)
{
    const Options options = parseOptions(arguments, true);
    const std::u16string source = readSource(options.file);
    StdioHost host(options.keepCrLf, options.maxSteps);
    const RunOutcome outcome = StartRun(source, host, RunMode::Free);
    host.finishErrorLine();
    if (host.writeError() != 0) return reportOutputFailure(host.writeError());
    if (host.answerTooLong()) {
        std::cerr << "tarnik-cli run：第" << outcome.line << "行的 INPUT 从标准输入读到的一行超过 " << kAnswerLineBytes
                  << " 字节（1 MB），这不是一个回答，没有读完它。运行已停止。\n";
        return kExitFailure;
    }
    if (host.limitReached()) {
        std::cerr << "tarnik-cli run：已执行 " << *options.maxSteps << " 条语句，达到 --max-steps 的限制，运行停止\n";
        return kExitStepLimit;
    }
    if (outcome.error) {
        reportError(outcome);
        return kExitProgramError;
    }
    return kExitOk;
}

int formatCommand(Arguments arguments)
{
    const Options options = parseOptions(arguments, false);
    const std::u16string source = readSource(options.file);
    std::u16string formatted;
    bool first = true;
    for (std::u16string_view line : splitLines(source)) {
        if (!first) formatted += options.keepCrLf ? u"\r\n" : u"\n";
        first = false;
        formatted += formatFinishedLine(line);
    }
    const int error = writeStandardOutput(toUtf8(formatted));
    return error == 0 ? kExitOk : reportOutputFailure(error);
}

}  // namespace tarnik::cli
