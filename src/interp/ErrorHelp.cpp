#include "interp/ErrorHelp.h"

#include "expr/NumberText.h"

namespace tarnik {
namespace {

bool describesProgramText(const ErrorText& row)
{
    return row.number == kReservedNameNumber || row.number == kBadExpressionNumber;
}

// Each line of `lines` ("\n"-separated) behind `indent`.
void appendIndented(std::u16string& out, std::u16string_view lines, std::u16string_view indent)
{
    std::size_t start = 0;
    while (start <= lines.size()) {
        std::size_t end = lines.find(u'\n', start);
        if (end == std::u16string_view::npos) end = lines.size();
        out.append(indent).append(lines.substr(start, end - start)).append(u"\n");
        start = end + 1;
    }
}

void appendExample(std::u16string& out, std::u16string_view title, const ErrorExample& example)
{
    out.append(title).append(u"\n");
    appendIndented(out, example.program, u"    ");
    if (!example.answers.empty()) {
        out.append(u"  输入数据：\n");
        appendIndented(out, example.answers, u"    ");
    }
}

}  // namespace

const ErrorText* errorRowOf(const BasicError& error)
{
    for (const ErrorText* row : kErrorTable) {
        if (row->number != error.number) continue;
        if (describesProgramText(*row) || row->text == error.description) return row;
    }
    return nullptr;
}

std::vector<const ErrorText*> errorRowsNumbered(std::int32_t number)
{
    std::vector<const ErrorText*> rows;
    for (const ErrorText* row : kErrorTable) {
        if (row->number == number) rows.push_back(row);
    }
    return rows;
}

std::u16string explanationText(const ErrorText& row)
{
    const ErrorExplanation& explained = *row.explanation;
    std::u16string out = u"错误 " + numberText(row.number) + u": ";
    out.append(row.text).append(u"\n");
    out.append(u"意思：").append(explained.meaning).append(u"\n");
    if (explained.mistake.program.empty()) {
        out.append(explained.causes).append(u"\n");
        return out;
    }
    out.append(u"常见原因：\n");
    appendIndented(out, explained.causes, u"  · ");
    appendExample(out, u"错误的写法：", explained.mistake);
    appendExample(out, u"改正以后：", explained.fix);
    return out;
}

std::u16string exampleEditorText(const ErrorExample& example)
{
    std::u16string text;
    for (char16_t c : example.program) {
        if (c == u'\n') text += u'\r';
        text += c;
    }
    return text;
}

}  // namespace tarnik
