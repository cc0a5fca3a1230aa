#include "support/ProgramExpectations.h"

#include <cctype>
#include <optional>
#include <stdexcept>

namespace tarnik::test {
namespace {

using Problem = std::invalid_argument;

constexpr std::string_view kExpect = "expect:";
constexpr std::string_view kExpectOpen = "expect open:";
constexpr std::string_view kInput = "input:";
constexpr std::string_view kExpectError = "expect error ";

bool isBlank(char c) { return c == ' ' || c == '\t'; }

std::string_view withoutLeadingBlanks(std::string_view text)
{
    while (!text.empty() && isBlank(text.front())) text.remove_prefix(1);
    return text;
}

// The text after the first apostrophe outside double quotes, as the
// translator finds a comment.
std::optional<std::string_view> commentOf(std::string_view line)
{
    bool inLiteral = false;
    for (std::size_t i = 0; i < line.size(); ++i) {
        if (line[i] == '"') inLiteral = !inLiteral;
        if (line[i] == '\'' && !inLiteral) return line.substr(i + 1);
    }
    return std::nullopt;
}

bool startsWithIgnoringCase(std::string_view text, std::string_view start)
{
    if (text.size() < start.size()) return false;
    for (std::size_t i = 0; i < start.size(); ++i) {
        if (std::tolower(static_cast<unsigned char>(text[i])) != start[i]) return false;
    }
    return true;
}

// Any comment that starts like an annotation must be one, so that a typing
// slip fails the test instead of silently expecting less.
bool looksLikeAnnotation(std::string_view comment)
{
    return startsWithIgnoringCase(comment, "expect") ||
           (startsWithIgnoringCase(comment, "input") && withoutLeadingBlanks(comment.substr(5)).starts_with(':'));
}

// \t, \s and \\ stand for a TAB, a blank and a backslash.
std::string unescaped(std::string_view text)
{
    std::string result;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\\') {
            result += text[i];
            continue;
        }
        const char next = i + 1 < text.size() ? text[++i] : '\0';
        if (next == 't') result += '\t';
        else if (next == 's') result += ' ';
        else if (next == '\\') result += '\\';
        else throw Problem("unknown escape; only \\t, \\s and \\\\ are known");
    }
    return result;
}

// What follows the colon of an annotation: nothing, or one blank and the
// text. Blanks at either end of the text would be invisible, so they must be
// written as escapes.
std::string annotationText(std::string_view rest)
{
    if (rest.empty()) return "";
    if (rest.front() != ' ') throw Problem("one blank must follow the colon");
    rest.remove_prefix(1);
    if (rest.empty() || isBlank(rest.front()) || isBlank(rest.back())) {
        throw Problem("a blank or TAB at either end of the text must be written \\s or \\t");
    }
    return unescaped(rest);
}

std::string nonEmptyText(std::string_view rest, const char* what)
{
    std::string text = annotationText(rest);
    if (text.empty()) throw Problem(std::string(what) + " must not be empty");
    return text;
}

void addConsoleText(ProgramExpectations& expected, std::string_view text, bool endsLine, int sourceLine)
{
    if (expected.console.empty() || expected.console.back() == '\n') {
        expected.consoleLineSources.push_back(sourceLine);
    }
    expected.console += text;
    if (endsLine) expected.console += '\n';
}

// The digits at the start of `text`, taken off it.
std::string number(std::string_view& text)
{
    std::size_t length = 0;
    while (length < text.size() && std::isdigit(static_cast<unsigned char>(text[length]))) ++length;
    if (length == 0) throw Problem("a number is missing");
    std::string digits(text.substr(0, length));
    text.remove_prefix(length);
    return digits;
}

// expect error N at L: DESCRIPTION  ->  错误 N: DESCRIPTION(第L行)
std::string errorLine(std::string_view rest)
{
    const std::string errorNumber = number(rest);
    if (!rest.starts_with(" at ")) throw Problem("\" at \" must follow the error number");
    rest.remove_prefix(4);
    const std::string line = number(rest);
    if (!rest.starts_with(':')) throw Problem("\":\" and the description must follow the line number");
    const std::string description = nonEmptyText(rest.substr(1), "the description");
    return "错误 " + errorNumber + ": " + description + "(第" + line + "行)";
}

void readAnnotation(ProgramExpectations& expected, std::string_view comment, int sourceLine)
{
    if (comment.starts_with(kExpectOpen)) {
        addConsoleText(expected, nonEmptyText(comment.substr(kExpectOpen.size()), "open text"), false, sourceLine);
    } else if (comment.starts_with(kExpect)) {
        addConsoleText(expected, annotationText(comment.substr(kExpect.size())), true, sourceLine);
    } else if (comment.starts_with(kInput)) {
        // tarnik-cli asks again on an empty line, so an empty answer is not one.
        std::string answer = nonEmptyText(comment.substr(kInput.size()), "an answer");
        addConsoleText(expected, answer, true, sourceLine);  // the console echoes every answer
        expected.answers.push_back(std::move(answer));
    } else if (comment.starts_with(kExpectError)) {
        if (!expected.errorLine.empty()) throw Problem("a run stops on one error only");
        expected.errorLine = errorLine(comment.substr(kExpectError.size()));
        expected.errorSource = sourceLine;
    } else {
        throw Problem("unreadable annotation; the forms are expect:, expect open:, input: and expect error N at L:");
    }
}

}  // namespace

ProgramExpectations readExpectations(std::string_view source)
{
    ProgramExpectations expected;
    bool annotated = false;
    int sourceLine = 0;
    while (!source.empty()) {
        const std::size_t end = source.find('\n');
        std::string_view line = source.substr(0, end);
        source.remove_prefix(end == std::string_view::npos ? source.size() : end + 1);
        ++sourceLine;
        if (line.ends_with('\r')) line.remove_suffix(1);

        const std::optional<std::string_view> comment = commentOf(line);
        if (!comment || !looksLikeAnnotation(withoutLeadingBlanks(*comment))) continue;
        annotated = true;
        try {
            readAnnotation(expected, withoutLeadingBlanks(*comment), sourceLine);
        } catch (const Problem& problem) {
            expected.problems.push_back({sourceLine, problem.what()});
        }
    }
    if (!annotated) expected.problems.push_back({1, "the program carries no annotation"});
    return expected;
}

}  // namespace tarnik::test
