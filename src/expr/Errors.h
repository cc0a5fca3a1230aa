#pragma once
// Every error number and message of the system, keyed by name rather than by
// number: several numbers carry two different messages.
#include <cstdint>
#include <string_view>

namespace tarnik {

struct ErrorText {
    std::int32_t number;
    std::u16string_view text;
};

// Platform errors: arithmetic, conversions, collections.
inline constexpr ErrorText kInvalidCall{5, u"无效的过程调用或参数"};
inline constexpr ErrorText kOverflow{6, u"溢出"};
inline constexpr ErrorText kSubscriptOutOfRange{9, u"下标越界"};
inline constexpr ErrorText kDivisionByZero{11, u"除数为零"};
inline constexpr ErrorText kTypeMismatch{13, u"类型不匹配"};
inline constexpr ErrorText kInputPastEnd{62, u"输入超出文件尾"};

// Executor.
inline constexpr ErrorText kStepIsZero{10, u"For语句中Step不能为0"};
inline constexpr ErrorText kJumpTargetNotNumeric{50, u"goto或者gosub语句后面只能跟数字行号"};
inline constexpr ErrorText kLabelNotFound{51, u"找不到行号"};
inline constexpr ErrorText kLabelZero{52, u"找不到行号"};
inline constexpr ErrorText kIfWithoutThenAtRun{209, u"If没有Then"};

// Variable store: the description is "变量名" + name + "不合法".
inline constexpr std::int32_t kReservedNameNumber = 59;

// Evaluator.
inline constexpr ErrorText kEmptyVariableName{102, u"变量名不得为空"};
inline constexpr ErrorText kNameStartsWithDigit{103, u"变量名不得以数字开头"};
inline constexpr ErrorText kInvalidVariableName{104, u"变量名不合法"};
inline constexpr ErrorText kStatementNotEnded{120, u"语句未结束"};
inline constexpr ErrorText kStatementInvalid{121, u"语句不正确"};

// Text helpers and the word reader. 202's description is "表达式" + text + "错误".
inline constexpr ErrorText kMissingLeftParen{201, u"表达式错误：缺少左括号"};
inline constexpr std::int32_t kBadExpressionNumber = 202;
inline constexpr ErrorText kMissingQuote{208, u"缺少双引号"};
inline constexpr ErrorText kCannotReplace{333, u"不能替换"};

// Line pass and SELECT CASE pass.
inline constexpr ErrorText kIfWithoutThen{301, u"If缺少Then"};
inline constexpr ErrorText kSelectLast{350, u"Select Case后面必须是Case"};
inline constexpr ErrorText kSelectNotFollowedByCase{351, u"Select Case后面必须是Case"};
inline constexpr ErrorText kCaseWithoutSelect{352, u"Case没有Select Case"};
inline constexpr ErrorText kEndSelectWithoutSelect{352, u"End Select没有Select Case"};
inline constexpr ErrorText kCaseWithString{353, u"Case后面暂时不支持字符串"};
inline constexpr ErrorText kSelectWithoutEndSelect{353, u"Select没有End Select"};

// ELSEIF flattening, block linking and the unclosed-block checks.
inline constexpr ErrorText kElseIfWithoutIf{361, u"Else If没有If"};
inline constexpr ErrorText kEndIfWithoutIfFlatten{362, u"End If没有If"};
inline constexpr ErrorText kElseWithoutIf{601, u"Else没有If"};
inline constexpr ErrorText kEndIfWithoutIf{602, u"End If没有If"};
inline constexpr ErrorText kExitForOutsideLoop{300, u"Exit For不在循环体内"};
inline constexpr ErrorText kNextWithoutFor{302, u"Next没有For"};
inline constexpr ErrorText kLoopWithoutDoWhile{303, u"Loop没有Do While"};
inline constexpr ErrorText kLoopUntilWithoutDo{305, u"Loop Until没有Do"};
inline constexpr ErrorText kExitDoOutsideLoop{304, u"Exit Do不在循环体内"};
inline constexpr ErrorText kForWithoutNext{303, u"For没有Next"};
inline constexpr ErrorText kIfWithoutEndIf{304, u"If没有End If"};
inline constexpr ErrorText kDoWithoutLoopUntil{305, u"Do没有Loop Until"};
inline constexpr ErrorText kDoWhileWithoutLoop{306, u"While没有Wend或Do Until没有Loop"};

}  // namespace tarnik
