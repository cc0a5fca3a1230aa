// tarnik-cli run and format.
#include <iostream>

#include "app/StdioHost.h"
#include "app/StdioSignals.h"
#include "app/cliArguments.h"
#include "app/cliHostedRun.h"
#include "app/cliCommands.h"
#include "expr/TextHelpers.h"
#include "interp/ProgramState.h"
#include "interp/clsCode.h"
#include "services/LineFormatter.h"
#include "services/SourceText.h"

namespace tarnik::cli {
namespace {

constexpr OperandRule kFileOnly[] = {kFileOperand};

// The run stopped by a signal: what it printed is written, the stop is
// said, and the process ends by that signal.
[[noreturn]] void endInterruptedRun(std::string_view command, StdioHost& host, const clsCode& code, int signal)
{
    host.finishErrorLine();
    std::cerr << "tarnik-cli " << command << "：收到" << InterruptSignals::describe(signal) << "，程序在第"
              << code.program.CurrentLine << "行停止运行，此前的输出已全部写出。" << std::endl;
    InterruptSignals::endProcess(signal);
}

}  // namespace

int finishHostedRun(std::string_view command, StdioHost& host, const clsCode& code, const RunOutcome& outcome,
                    std::optional<std::int64_t> maxSteps)
{
    if (const int signal = InterruptSignals::received()) endInterruptedRun(command, host, code, signal);
    host.finishErrorLine();
    if (host.writeError() != 0) return reportOutputFailure(host.writeError());
    if (host.answerTooLong()) {
        std::cerr << "tarnik-cli " << command << "：第" << outcome.line << "行的 INPUT 从标准输入读到的一行超过 "
                  << kAnswerLineBytes << " 字节（1 MB），这不是一个回答，没有读完它。运行已停止。\n";
        return kExitFailure;
    }
    if (host.limitReached()) {
        std::cerr << "tarnik-cli " << command << "：已执行 " << *maxSteps
                  << " 条语句，达到 --max-steps 的限制，运行停止\n";
        return kExitStepLimit;
    }
    if (outcome.error) {
        reportError(outcome);
        return kExitProgramError;
    }
    return kExitOk;
}

int runCommand(Arguments arguments)
{
    constexpr OptionRule options[] = {kCrLfOption, kMaxStepsOption};
    const CommandArguments words("run", arguments, options, kFileOnly);
    const std::optional<std::int64_t> maxSteps = statementLimit(words);
    const std::u16string source = readSource(words.operand(0));
    StdioHost host(words.has(kCrLfOption.name), maxSteps);
    InterruptSignals::install();
    clsCode code;
    const RunOutcome outcome = StartRun(code, source, host, RunMode::Free);
    return finishHostedRun("run", host, code, outcome, maxSteps);
}

int formatCommand(Arguments arguments)
{
    constexpr OptionRule options[] = {kCrLfOption};
    const CommandArguments words("format", arguments, options, kFileOnly);
    const std::u16string source = readSource(words.operand(0));
    std::u16string formatted;
    bool first = true;
    for (std::u16string_view line : splitLines(source)) {
        if (!first) formatted += words.has(kCrLfOption.name) ? u"\r\n" : u"\n";
        first = false;
        formatted += formatFinishedLine(line);
    }
    return writeOutput(toUtf8(formatted));
}

}  // namespace tarnik::cli
