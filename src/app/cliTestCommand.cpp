// tarnik-cli test: a program checked against a folder of test cases.
#include <algorithm>
#include <iostream>

#include "app/cliCommands.h"
#include "interp/SourceText.h"
#include "interp/TestCases.h"

namespace tarnik::cli {

int testCommand(Arguments arguments)
{
    if (arguments.size() != 2) throw CliFailure{"需要两个参数：程序文件 FILE 和测试用例文件夹 DIR", true};
    const std::u16string source = readSource(fileArgument(arguments.first(1)));
    const std::string& folder = arguments[1];
    const std::optional<std::vector<TestCase>> cases = readCaseFolder(folder);
    if (!cases) throw CliFailure{"无法读取测试用例文件夹 " + folder + "，没有运行任何用例。"};
    if (cases->empty()) throw CliFailure{"文件夹 " + folder + " 中没有测试用例（NAME.out 文件），没有运行任何用例。"};

    std::vector<CaseResult> results;
    for (const TestCase& testCase : *cases) {
        results.push_back(runCase(source, testCase));
        std::cout << toUtf8(results.back().name + u": " + verdictText(results.back())) << std::endl;
    }
    std::cout << toUtf8(summaryText(results)) << std::endl;
    const bool allPassed = std::all_of(results.begin(), results.end(),
                                       [](const CaseResult& r) { return r.verdict == CaseVerdict::Passed; });
    return allPassed ? kExitOk : kExitProgramError;
}

}  // namespace tarnik::cli
