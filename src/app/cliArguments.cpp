#include "app/cliArguments.h"

#include <algorithm>
#include <charconv>
#include <limits>

namespace tarnik::cli {
namespace {

// "-" alone names standard input by custom, and "-5" is a number: neither
// is an option, so `explain -5` can say there is no error -5.
bool looksLikeOption(std::string_view word)
{
    return word.size() > 1 && word[0] == '-' && !(word[1] >= '0' && word[1] <= '9');
}

const OptionRule* findRule(std::span<const OptionRule> options, std::string_view name)
{
    for (const OptionRule& rule : options) {
        if (rule.name == name) return &rule;
    }
    return nullptr;
}

CliFailure usageFailure(std::string message) { return {std::move(message), true}; }

// A word with one dash is as likely a file name as a mistyped option.
CliFailure unknownOption(std::string_view command, std::string_view name)
{
    std::string message = std::string(name) + " 不是 " + std::string(command) + " 命令的选项";
    if (!name.starts_with("--")) message += "（名字以 - 开头的文件请写在 -- 后面，例如 -- " + std::string(name) + "）";
    return usageFailure(std::move(message));
}

}  // namespace

CommandArguments::CommandArguments(std::string_view command, Arguments words, std::span<const OptionRule> options,
                                   std::span<const OperandRule> operands)
{
    bool optionsEnded = false;
    for (std::size_t i = 0; i < words.size(); ++i) {
        if (optionsEnded || !looksLikeOption(words[i])) {
            m_operands.push_back(words[i]);
        } else if (words[i] == "--") {
            optionsEnded = true;
        } else {
            i += takeOption(command, words.subspan(i), options);
        }
    }
    checkOperands(operands);
}

std::size_t CommandArguments::takeOption(std::string_view command, Arguments words, std::span<const OptionRule> options)
{
    const std::string& word = words.front();
    const std::size_t equals = word.find('=');
    const std::string_view name = std::string_view(word).substr(0, equals);
    const OptionRule* rule = findRule(options, name);
    if (rule == nullptr) throw unknownOption(command, name);
    if (rule->valueWords.empty()) {
        if (equals != std::string::npos) throw usageFailure(std::string(name) + " 后面不能带值");
        m_given.emplace_back(rule->name, std::string());
        return 0;
    }
    if (equals != std::string::npos && equals + 1 < word.size()) {
        m_given.emplace_back(rule->name, word.substr(equals + 1));
        return 0;
    }
    if (equals != std::string::npos || words.size() < 2) {
        throw usageFailure(std::string(name) + " 后面缺少" + std::string(rule->valueWords));
    }
    m_given.emplace_back(rule->name, words[1]);
    return 1;
}

void CommandArguments::checkOperands(std::span<const OperandRule> operands) const
{
    if (m_operands.size() < operands.size()) {
        const OperandRule& missing = operands[m_operands.size()];
        throw usageFailure("缺少" + std::string(missing.words) + "（" + std::string(missing.name) + "）");
    }
    if (m_operands.size() > operands.size()) {
        std::string wanted;
        for (const OperandRule& rule : operands) wanted.append(" ").append(rule.name);
        throw usageFailure("多余的参数 " + m_operands[operands.size()] + "：这个命令只要" + wanted);
    }
}

bool CommandArguments::has(std::string_view option) const
{
    return std::any_of(m_given.begin(), m_given.end(), [&](const auto& given) { return given.first == option; });
}

std::optional<std::string> CommandArguments::value(std::string_view option) const
{
    const auto found =
        std::find_if(m_given.rbegin(), m_given.rend(), [&](const auto& given) { return given.first == option; });
    if (found == m_given.rend()) return std::nullopt;
    return found->second;
}

std::optional<std::int64_t> statementLimit(const CommandArguments& arguments)
{
    const std::optional<std::string> text = arguments.value(kMaxStepsOption.name);
    if (!text) return std::nullopt;
    std::int64_t count = 0;
    const auto [end, error] = std::from_chars(text->data(), text->data() + text->size(), count);
    const bool whole = end == text->data() + text->size() && !text->empty();
    if (whole && error == std::errc::result_out_of_range && text->front() != '-') {
        throw usageFailure("--max-steps 的值 " + *text + " 太大，语句条数最多是 " +
                           std::to_string(std::numeric_limits<std::int64_t>::max()));
    }
    if (!whole || error != std::errc{} || count < 0) {
        throw usageFailure("--max-steps 后面应是语句条数（不小于 0 的整数），而不是 " + *text);
    }
    return count;
}

}  // namespace tarnik::cli
