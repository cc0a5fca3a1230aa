#include "services/Reindentation.h"

#include "expr/BasicError.h"
#include "expr/NumberText.h"
#include "expr/TextHelpers.h"
#include "services/EditingAids.h"

namespace tarnik {
namespace {

enum class Block { If, For, Do, While, Select };

// What a line does to the blocks around it.
enum class Role { Statement, Opens, Middle, Closes, Case };

struct Reading {
    Role role = Role::Statement;
    Block block = Block::If;
};

// The statement of a line as the line pass leaves it: lower case, without
// indentation, label and comment.
std::u16string statementOf(std::u16string_view line)
{
    std::u16string text = lowerAscii(trimBlanks(line));
    const std::size_t start = text.find_first_not_of(u" \t");
    if (start == std::u16string::npos) return {};
    text.erase(0, start);
    const std::size_t blank = text.find(u' ');
    if (isDecimalNumber(std::u16string_view(text).substr(0, blank))) {
        text = blank == std::u16string::npos ? std::u16string{} : std::u16string(trimBlanks(text.substr(blank)));
    }
    ErrorState ignored;
    const int comment = FindOutsideQuotes(text, u"'", ignored);
    if (comment > 0) text.resize(static_cast<std::size_t>(comment - 1));
    return std::u16string(trimBlanks(text));
}

std::u16string_view wordAt(std::u16string_view text, std::size_t index)
{
    std::size_t start = 0;
    for (; index > 0; --index) {
        const std::size_t blank = text.find(u' ', start);
        if (blank == std::u16string_view::npos) return {};
        start = text.find_first_not_of(u' ', blank);
        if (start == std::u16string_view::npos) return {};
    }
    return text.substr(start, text.find(u' ', start) - start);
}

Reading read(std::u16string_view statement)
{
    const std::u16string_view first = wordAt(statement, 0);
    const std::u16string_view second = wordAt(statement, 1);
    if (first == u"if") {
        // A one-line IF, with its statement after THEN, opens nothing.
        const bool block = statement.size() >= 5 && statement.substr(statement.size() - 5) == u" then";
        return {block ? Role::Opens : Role::Statement, Block::If};
    }
    if (first == u"elseif" || first == u"else") return {Role::Middle, Block::If};
    if (first == u"end" && second == u"if") return {Role::Closes, Block::If};
    if (first == u"end" && second == u"select") return {Role::Closes, Block::Select};
    if (first == u"for") return {Role::Opens, Block::For};
    if (first == u"next") return {Role::Closes, Block::For};
    if (first == u"do") return {Role::Opens, Block::Do};
    if (first == u"loop") return {Role::Closes, Block::Do};
    if (first == u"while") return {Role::Opens, Block::While};
    if (first == u"wend") return {Role::Closes, Block::While};
    if (first == u"select") return {Role::Opens, Block::Select};
    if (first == u"case") return {Role::Case, Block::Select};
    return {};
}

struct OpenBlock {
    Block block;
    int level;        // of its opening line
    std::size_t line; // index of its opening line
};

// The level of the statements inside a block.
int innerLevel(const OpenBlock& open)
{
    return open.level + (open.block == Block::Select ? 2 : 1);
}

// The indentation a line has as typed, in blanks.
int typedIndentation(std::u16string_view line)
{
    int blanks = 0;
    for (char16_t c : line) {
        if (c == u' ') {
            ++blanks;
        } else if (c == u'\t') {
            blanks += static_cast<int>(kIndentStep.size());
        } else {
            break;
        }
    }
    return blanks;
}

}  // namespace

std::optional<int> blockEndIndentation(const std::vector<std::u16string_view>& linesBefore, std::u16string_view line)
{
    const Reading reading = read(statementOf(line));
    if (reading.role == Role::Statement || reading.role == Role::Opens) return std::nullopt;
    struct Opened {
        Block block;
        int blanks;
    };
    std::vector<Opened> open;
    for (std::u16string_view before : linesBefore) {
        const Reading earlier = read(statementOf(before));
        if (earlier.role == Role::Opens) open.push_back({earlier.block, typedIndentation(before)});
        if (earlier.role == Role::Closes && !open.empty() && open.back().block == earlier.block) open.pop_back();
    }
    if (open.empty() || open.back().block != reading.block) return std::nullopt;
    const int step = reading.role == Role::Case ? static_cast<int>(kIndentStep.size()) : 0;
    return open.back().blanks + step;
}

std::vector<std::optional<int>> blockIndentation(const std::vector<std::u16string_view>& lines)
{
    std::vector<std::optional<int>> levels(lines.size());
    std::vector<OpenBlock> open;
    const int step = static_cast<int>(kIndentStep.size());
    for (std::size_t index = 0; index < lines.size(); ++index) {
        if (trimBlanks(lines[index]).find_first_not_of(u'\t') == std::u16string_view::npos) continue;
        const Reading reading = read(statementOf(lines[index]));
        const int level = open.empty() ? 0 : innerLevel(open.back());
        const bool matches = !open.empty() && open.back().block == reading.block;
        switch (reading.role) {
        case Role::Statement: levels[index] = level; break;
        case Role::Opens:
            levels[index] = level;
            open.push_back({reading.block, level, index});
            break;
        case Role::Middle:
            if (matches) levels[index] = open.back().level;
            break;
        case Role::Case:
            if (matches) levels[index] = open.back().level + 1;
            break;
        case Role::Closes:
            if (matches) {
                levels[index] = open.back().level;
                open.pop_back();
            }
            break;
        }
    }
    // From the first block left open on, nothing is placed.
    if (!open.empty()) {
        for (std::size_t index = open.front().line; index < lines.size(); ++index) levels[index].reset();
    }
    for (std::optional<int>& level : levels) {
        if (level) *level *= step;
    }
    return levels;
}

std::u16string withIndentation(std::u16string_view line, int blanks)
{
    const std::size_t start = line.find_first_not_of(u" \t");
    std::u16string result(static_cast<std::size_t>(blanks), u' ');
    if (start != std::u16string_view::npos) result.append(line.substr(start));
    return result;
}

}  // namespace tarnik
