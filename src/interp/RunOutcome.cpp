#include "interp/RunOutcome.h"

#include "expr/NumberText.h"

namespace tarnik {

std::u16string descriptionWithLine(const BasicError& error, std::int32_t line)
{
    return error.description + u"(第" + numberText(line) + u"行)";
}

std::u16string RunOutcome::errorLine() const
{
    if (!error) return {};
    return u"错误 " + numberText(error->number) + u": " + descriptionWithLine(*error, line);
}

}  // namespace tarnik
