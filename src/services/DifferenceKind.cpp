#include "services/DifferenceKind.h"

#include <algorithm>
#include <charconv>
#include <optional>
#include <span>
#include <string_view>

#include "expr/NumberText.h"
#include "services/FullWidthSlips.h"

namespace tarnik {
namespace {

using Lines = std::vector<std::u16string>;
using LineSpan = std::span<const std::u16string>;

bool isBlank(char16_t c) { return c == u' ' || c == u'\t'; }
bool isDigit(char16_t c) { return c >= u'0' && c <= u'9'; }

std::u16string_view withoutTrailingBlanks(std::u16string_view line)
{
    while (!line.empty() && isBlank(line.back())) line.remove_suffix(1);
    return line;
}

std::u16string withoutBlanks(std::u16string_view text)
{
    std::u16string kept;
    std::copy_if(text.begin(), text.end(), std::back_inserter(kept), [](char16_t c) { return !isBlank(c); });
    return kept;
}

std::u16string halfWidth(std::u16string_view line)
{
    std::u16string mapped(line);
    for (char16_t& c : mapped) {
        if (const char16_t half = halfWidthOf(c)) c = half;
    }
    return mapped;
}

// The lines before the empty lines at the end; a view, as an expected output may be long.
LineSpan withoutTrailingEmptyLines(const Lines& lines)
{
    std::size_t kept = lines.size();
    while (kept > 0 && lines[kept - 1].empty()) --kept;
    return LineSpan(lines.data(), kept);
}

std::u16string lineCount(std::size_t lines)
{
    if (lines == 1) return u"一行";
    std::u16string text(u" ");
    text += numberText(static_cast<double>(lines));
    return text + u" 行";
}

// The phrase for lines missing or extra, once trailing empty lines are set
// aside: `shorter` is `longer` with `n` lines left out at `at`.
std::optional<DifferenceDescription> missingOrExtra(LineSpan expected, LineSpan actual, bool expectedWhole)
{
    const bool missing = actual.size() < expected.size();
    const LineSpan longer = missing ? expected : actual;
    const LineSpan shorter = missing ? actual : expected;
    const std::size_t n = longer.size() - shorter.size();
    const auto at = static_cast<std::size_t>(
        std::mismatch(shorter.begin(), shorter.end(), longer.begin()).first - shorter.begin());
    if (n == 0 || !std::equal(shorter.begin() + static_cast<std::ptrdiff_t>(at), shorter.end(),
                              longer.begin() + static_cast<std::ptrdiff_t>(at + n))) {
        return std::nullopt;
    }
    if (!missing) return DifferenceDescription{DifferenceKind::ExtraLines, u"多了" + lineCount(n)};
    const bool atEnd = at == shorter.size();
    const std::u16string_view where = !atEnd ? u"" : expectedWhole ? u"最后" : u"最后至少";
    return DifferenceDescription{DifferenceKind::MissingLines, u"少了" + std::u16string(where) + lineCount(n)};
}

// A line read as numbers and the text between them: "x = 3.0" is "x = ", 3.0, "".
struct NumberedLine {
    std::vector<std::u16string> between;
    std::vector<std::u16string> numbers;
};

std::size_t digitsFrom(std::u16string_view line, std::size_t at)
{
    while (at < line.size() && isDigit(line[at])) ++at;
    return at;
}

// The end of the number starting at `at` (digits, a point, an exponent), or `at` for none.
std::size_t numberEnd(std::u16string_view line, std::size_t at)
{
    std::size_t end = digitsFrom(line, at);
    if (end < line.size() && line[end] == u'.') end = digitsFrom(line, end + 1);
    if (end == at || (end == at + 1 && line[at] == u'.')) return at;
    if (end < line.size() && (line[end] == u'e' || line[end] == u'E')) {
        std::size_t exponent = end + 1;
        if (exponent < line.size() && (line[exponent] == u'+' || line[exponent] == u'-')) ++exponent;
        const std::size_t exponentEnd = digitsFrom(line, exponent);
        if (exponentEnd > exponent) end = exponentEnd;
    }
    return end;
}

NumberedLine numbered(std::u16string_view line)
{
    NumberedLine read{{u""}, {}};
    for (std::size_t at = 0; at < line.size();) {
        const std::size_t end = numberEnd(line, at);
        if (end == at) {
            read.between.back() += line[at++];
            continue;
        }
        read.numbers.emplace_back(line.substr(at, end - at));
        read.between.emplace_back();
        at = end;
    }
    return read;
}

double valueOf(std::u16string_view number)
{
    const std::string ascii(number.begin(), number.end());
    double value = 0;
    std::from_chars(ascii.data(), ascii.data() + ascii.size(), value);
    return value;
}

// "数字写法不同：期望 3，实际 3.0" when the lines hold the same numbers written differently.
std::optional<DifferenceDescription> numberWriting(std::u16string_view expected, std::u16string_view actual)
{
    const NumberedLine e = numbered(expected);
    const NumberedLine a = numbered(actual);
    if (e.between != a.between || e.numbers.size() != a.numbers.size()) return std::nullopt;
    for (std::size_t i = 0; i < e.numbers.size(); ++i) {
        if (valueOf(e.numbers[i]) != valueOf(a.numbers[i])) return std::nullopt;
    }
    for (std::size_t i = 0; i < e.numbers.size(); ++i) {
        if (e.numbers[i] == a.numbers[i]) continue;
        return DifferenceDescription{DifferenceKind::NumberWriting,
                                     u"数字写法不同：期望 " + e.numbers[i] + u"，实际 " + a.numbers[i]};
    }
    return std::nullopt;
}

// "全角/半角不同：期望 «,»，实际 «，»" when the lines are the same once every character is half-width.
std::optional<DifferenceDescription> fullWidth(std::u16string_view expected, std::u16string_view actual)
{
    if (expected.size() != actual.size() || halfWidth(expected) != halfWidth(actual)) return std::nullopt;
    const auto at = static_cast<std::size_t>(
        std::mismatch(expected.begin(), expected.end(), actual.begin()).first - expected.begin());
    return DifferenceDescription{DifferenceKind::FullWidth, u"全角/半角不同：期望 «" + std::u16string(1, expected[at]) +
                                                                u"»，实际 «" + std::u16string(1, actual[at]) + u"»"};
}

std::optional<DifferenceDescription> lineDifference(std::u16string_view expected, std::u16string_view actual)
{
    if (withoutTrailingBlanks(expected) == withoutTrailingBlanks(actual)) {
        return DifferenceDescription{DifferenceKind::TrailingBlanks, u"只差行末空格"};
    }
    if (withoutBlanks(expected) == withoutBlanks(actual)) return DifferenceDescription{DifferenceKind::Blanks, u"只差空格"};
    if (auto found = fullWidth(expected, actual)) return found;
    return numberWriting(expected, actual);
}

std::u16string joinedWithoutBlanks(const Lines& lines)
{
    std::u16string joined;
    for (const std::u16string& line : lines) joined += withoutBlanks(line);
    return joined;
}

std::u16string_view lineOr(const Lines& lines, std::size_t line)
{
    return line < lines.size() ? std::u16string_view(lines[line]) : std::u16string_view();
}

}  // namespace

DifferenceDescription describeDifference(const Lines& expected, const Lines& actual, std::size_t line,
                                         bool expectedWhole)
{
    const LineSpan shownExpected = withoutTrailingEmptyLines(expected);
    const LineSpan shownActual = withoutTrailingEmptyLines(actual);
    if (std::equal(shownExpected.begin(), shownExpected.end(), shownActual.begin(), shownActual.end())) {
        if (actual.size() < expected.size()) return {DifferenceKind::MissingLineEnd, u"最后少了换行"};
        return {DifferenceKind::ExtraEmptyLines, u"最后多了空行"};
    }
    if (auto found = missingOrExtra(shownExpected, shownActual, expectedWhole)) return *found;
    if (auto found = lineDifference(lineOr(expected, line), lineOr(actual, line))) return *found;
    if (joinedWithoutBlanks(expected) == joinedWithoutBlanks(actual)) {
        return {DifferenceKind::LineBreaks, u"只差空格和换行的位置"};
    }
    return {DifferenceKind::Content, u"内容不同"};
}

DifferenceDescription promptOrEchoDifference()
{
    return {DifferenceKind::PromptOrEcho, u"多输出了提示或输入的答案"};
}

}  // namespace tarnik
