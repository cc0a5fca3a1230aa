// tarnik-cli test: a program checked against a folder of test cases.
#include <iostream>
#include <variant>

#include "app/cliCommands.h"
#include "services/SourceText.h"
#include "services/TestCases.h"

namespace tarnik::cli {
namespace {

CliFailure unusableCaseFile(const CaseFileProblem& problem, std::string_view consequence)
{
    return {toUtf8(problem.text()) + std::string(consequence)};
}

CaseFolder casesOf(const std::string& folder)
{
    CaseFolder found = readCaseFolder(folder);
    if (!found.listed) throw CliFailure{"无法读取测试用例文件夹 " + folder + "，没有运行任何用例。"};
    if (found.problem) throw unusableCaseFile(*found.problem, "没有运行任何用例。");
    if (found.cases.empty()) throw CliFailure{"文件夹 " + folder + " 中没有测试用例（NAME.out 文件），没有运行任何用例。"};
    return found;
}

}  // namespace

// Each case is read just before it runs, so that only one is held at a time.
int testCommand(Arguments arguments)
{
    if (arguments.size() != 2) throw CliFailure{"需要两个参数：程序文件 FILE 和测试用例文件夹 DIR", true};
    const std::u16string source = readSource(fileArgument(arguments.first(1)));
    const CaseFolder folder = casesOf(arguments[1]);

    std::size_t passed = 0;
    for (const CaseFiles& files : folder.cases) {
        const std::variant<TestCase, CaseFileProblem> read = readCase(files);
        if (const auto* problem = std::get_if<CaseFileProblem>(&read)) {
            throw unusableCaseFile(*problem, "这个用例和后面的用例没有运行。");
        }
        const CaseResult result = runCase(source, std::get<TestCase>(read));
        if (result.verdict == CaseVerdict::Passed) ++passed;
        std::cout << toUtf8(result.name + u": " + verdictText(result)) << std::endl;
    }
    std::cout << toUtf8(summaryText(folder.cases.size(), passed)) << std::endl;
    return passed == folder.cases.size() ? kExitOk : kExitProgramError;
}

}  // namespace tarnik::cli
