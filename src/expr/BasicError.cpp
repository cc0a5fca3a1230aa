#include "expr/BasicError.h"

namespace tarnik {

BasicError errorOf(const ErrorText& error) { return {error.number, std::u16string(error.text)}; }

void raiseError(const ErrorText& error)
{
    throw errorOf(error);
}

void raiseError(std::int32_t number, std::u16string description)
{
    throw BasicError{number, std::move(description)};
}

BasicError badExpressionError(std::u16string_view text)
{
    std::u16string description = u"表达式";
    description += text;
    description += u"错误";
    return {kBadExpressionNumber, std::move(description)};
}

BasicError reservedNameError(std::u16string_view name)
{
    std::u16string description = u"变量名";
    description += name;
    description += u"不合法";
    return {kReservedNameNumber, std::move(description)};
}

void ErrorState::forget() { m_error = {}; }

}  // namespace tarnik
