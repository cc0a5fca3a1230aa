#pragma once
// Every error number and message of the system, keyed by name rather than by
// number: several numbers carry two different messages. The table is one
// list of rows, TARNIK_ERROR_TABLE, and kErrorTable lists every row. The
// beginner's explanation of each row lives with the help
// (services/help/ErrorExplanations.h), under the row's name: the help is
// built from this same list, so a row without an explanation does not compile.
#include <cstdint>
#include <string_view>

namespace tarnik {

struct ErrorText {
    std::int32_t number;
    std::u16string_view text;
};

// X(Name, number, text), in the order errors are explained.
#define TARNIK_ERROR_TABLE(X)                                                            \
    /* Platform errors: arithmetic, conversions, collections. */                         \
    X(InvalidCall, 5, u"无效的过程调用或参数")                                           \
    X(Overflow, 6, u"溢出")                                                              \
    X(SubscriptOutOfRange, 9, u"下标越界")                                               \
    X(DivisionByZero, 11, u"除数为零")                                                   \
    X(TypeMismatch, 13, u"类型不匹配")                                                   \
    X(InputPastEnd, 62, u"输入超出文件尾")                                               \
    /* Executor. */                                                                      \
    X(StepIsZero, 10, u"For语句中Step不能为0")                                           \
    X(JumpTargetNotNumeric, 50, u"goto或者gosub语句后面只能跟数字行号")                  \
    X(LabelNotFound, 51, u"找不到行号")                                                  \
    X(LabelZero, 52, u"找不到行号")                                                      \
    X(IfWithoutThenAtRun, 209, u"If没有Then")                                            \
    /* Variable store: the description is "变量名" + name + "不合法". */                 \
    X(ReservedName, 59, u"变量名…不合法")                                                \
    /* Evaluator. */                                                                     \
    X(EmptyVariableName, 102, u"变量名不得为空")                                         \
    X(NameStartsWithDigit, 103, u"变量名不得以数字开头")                                 \
    X(InvalidVariableName, 104, u"变量名不合法")                                         \
    X(StatementNotEnded, 120, u"语句未结束")                                             \
    X(StatementInvalid, 121, u"语句不正确")                                              \
    /* Text helpers and the word reader; 202 is "表达式" + text + "错误". */             \
    X(MissingLeftParen, 201, u"表达式错误：缺少左括号")                                  \
    X(BadExpression, 202, u"表达式…错误")                                                \
    X(MissingQuote, 208, u"缺少双引号")                                                  \
    X(CannotReplace, 333, u"不能替换")                                                   \
    /* Line pass and SELECT CASE pass. */                                                \
    X(IfWithoutThen, 301, u"If缺少Then")                                                 \
    X(SelectLast, 350, u"Select Case后面必须是Case")                                     \
    X(SelectNotFollowedByCase, 351, u"Select Case后面必须是Case")                        \
    X(CaseWithoutSelect, 352, u"Case没有Select Case")                                    \
    X(EndSelectWithoutSelect, 352, u"End Select没有Select Case")                         \
    X(CaseWithString, 353, u"Case后面暂时不支持字符串")                                  \
    X(SelectWithoutEndSelect, 353, u"Select没有End Select")                              \
    /* ELSEIF flattening, block linking and the unclosed-block checks. */                \
    X(ElseIfWithoutIf, 361, u"Else If没有If")                                           \
    X(EndIfWithoutIfFlatten, 362, u"End If没有If")                                       \
    X(ElseWithoutIf, 601, u"Else没有If")                                                 \
    X(EndIfWithoutIf, 602, u"End If没有If")                                              \
    X(ExitForOutsideLoop, 300, u"Exit For不在循环体内")                                  \
    X(NextWithoutFor, 302, u"Next没有For")                                               \
    X(LoopWithoutDoWhile, 303, u"Loop没有Do While")                                      \
    X(LoopUntilWithoutDo, 305, u"Loop Until没有Do")                                      \
    X(ExitDoOutsideLoop, 304, u"Exit Do不在循环体内")                                    \
    X(ForWithoutNext, 303, u"For没有Next")                                               \
    X(IfWithoutEndIf, 304, u"If没有End If")                                              \
    X(DoWithoutLoopUntil, 305, u"Do没有Loop Until")                                      \
    X(DoWhileWithoutLoop, 306, u"While没有Wend或Do Until没有Loop")

#define TARNIK_DEFINE_ERROR(name, number, text) \
    inline constexpr ErrorText k##name{number, text};
TARNIK_ERROR_TABLE(TARNIK_DEFINE_ERROR)
#undef TARNIK_DEFINE_ERROR

#define TARNIK_ERROR_ADDRESS(name, number, text) &k##name,
inline constexpr const ErrorText* kErrorTable[] = {TARNIK_ERROR_TABLE(TARNIK_ERROR_ADDRESS)};
#undef TARNIK_ERROR_ADDRESS

// The two errors whose description is built around a text of the program.
inline constexpr std::int32_t kReservedNameNumber = kReservedName.number;
inline constexpr std::int32_t kBadExpressionNumber = kBadExpression.number;

}  // namespace tarnik
