// The commands that help a beginner: explain (an error number) and lint (the
// warnings of a program).
#include <charconv>
#include <iostream>

#include "app/cliArguments.h"
#include "app/cliCommands.h"
#include "services/help/ErrorHelp.h"
#include "services/ProgramWarnings.h"
#include "services/SourceText.h"

namespace tarnik::cli {
namespace {

std::int32_t errorNumberArgument(Arguments arguments)
{
    constexpr OperandRule operands[] = {{"N", "错误编号"}};
    const std::string text = CommandArguments("explain", arguments, {}, operands).operand(0);
    std::int32_t number = 0;
    auto [end, problem] = std::from_chars(text.data(), text.data() + text.size(), number);
    if (problem == std::errc::result_out_of_range && end == text.data() + text.size()) {
        throw CliFailure{"没有编号为 " + text + " 的错误。运行程序时报告的“错误 N”才有解释。"};
    }
    if (problem != std::errc{} || end != text.data() + text.size()) {
        throw CliFailure{"“" + text + "”不是错误编号，错误编号是一个整数，例如 303", true};
    }
    return number;
}

}  // namespace

int explainCommand(Arguments arguments)
{
    const std::int32_t number = errorNumberArgument(arguments);
    const std::vector<const ErrorText*> rows = errorRowsNumbered(number);
    if (rows.empty()) {
        throw CliFailure{"没有编号为 " + std::to_string(number) + " 的错误。运行程序时报告的“错误 N”才有解释。"};
    }
    std::string out;
    for (const ErrorText* row : rows) {
        if (!out.empty()) out += '\n';
        out += toUtf8(explanationText(*row));
    }
    return writeOutput(out);
}

int lintCommand(Arguments arguments)
{
    const std::u16string source = readSource(fileArgument("lint", arguments));
    const LintResult result = lintProgram(source);
    if (result.translation.error) {
        reportError(result.translation);
        return kExitProgramError;
    }
    std::string out;
    for (const ProgramWarning& warning : result.warnings) {
        out += toUtf8(warning.shown()) + "\n";
    }
    return writeOutput(out);
}

}  // namespace tarnik::cli
