#pragma once
// The words after a command's name: its options (a flag, or an option with a
// value given as the next word or after "="), "--" ending the options, and
// the operands. Every mistake is a CliFailure that names the word at fault.
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "app/cliCommands.h"

namespace tarnik::cli {

struct OptionRule {
    std::string_view name;         // "--max-steps"
    std::string_view valueWords{};  // what its value is, in words ("语句条数"); empty: a flag
};

struct OperandRule {
    std::string_view name;   // as the usage line shows it: "FILE"
    std::string_view words;  // what it is, in words: "程序文件名"
};

inline constexpr OperandRule kFileOperand{"FILE", "程序文件名"};
inline constexpr OptionRule kCrLfOption{"--crlf"};
inline constexpr OptionRule kMaxStepsOption{"--max-steps", "语句条数"};

class CommandArguments {
public:
    // `command` names the command in the messages. A word that starts with
    // "-" is an option unless it is "-" alone or a negative number, or comes
    // after "--".
    CommandArguments(std::string_view command, Arguments words, std::span<const OptionRule> options,
                     std::span<const OperandRule> operands);

    [[nodiscard]] bool has(std::string_view option) const;
    // The value of the option's last occurrence.
    [[nodiscard]] std::optional<std::string> value(std::string_view option) const;
    [[nodiscard]] const std::string& operand(std::size_t index) const { return m_operands.at(index); }

private:
    // Records the option `words` starts with; how many words after it were its value.
    std::size_t takeOption(std::string_view command, Arguments words, std::span<const OptionRule> options);
    void checkOperands(std::span<const OperandRule> operands) const;

    std::vector<std::pair<std::string_view, std::string>> m_given;  // option and value, in order
    std::vector<std::string> m_operands;
};

// The --max-steps value: a whole number from 0 up.
[[nodiscard]] std::optional<std::int64_t> statementLimit(const CommandArguments& arguments);

}  // namespace tarnik::cli
