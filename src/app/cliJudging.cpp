#include "app/cliJudging.h"

#include <charconv>
#include <variant>

#include "services/OjCases.h"
#include "services/SourceText.h"

namespace tarnik::cli {

std::int64_t countOption(const CommandArguments& arguments, const OptionRule& option, std::int64_t fallback,
                         std::int64_t largest)
{
    const std::optional<std::string> text = arguments.value(option.name);
    if (!text) return fallback;
    std::int64_t count = 0;
    const auto [end, error] = std::from_chars(text->data(), text->data() + text->size(), count);
    if (end != text->data() + text->size() || text->empty() || error != std::errc{} || count < 1 || count > largest) {
        throw CliFailure{std::string(option.name) + " 后面应是" + std::string(option.valueWords) + "（1 到 " +
                             std::to_string(largest) + " 的整数），而不是 " + *text,
                         true};
    }
    return count;
}

std::vector<JudgeCase> judgeCasesOf(const std::string& source, const CommandArguments& arguments)
{
    constexpr std::int64_t kMostItems = 1'000'000;
    const auto item = static_cast<int>(countOption(arguments, kItemOption, 1, kMostItems));
    auto read = readOjCases(std::filesystem::path(std::u8string(source.begin(), source.end())), item);
    if (auto* failure = std::get_if<std::u16string>(&read)) throw CliFailure{toUtf8(*failure)};
    return std::move(std::get<std::vector<JudgeCase>>(read));
}

}  // namespace tarnik::cli
