#pragma once
// What Executor prepares for each line. Private to the executor's sources.
#include "interp/Executor.h"

namespace tarnik {

struct Executor::ForPlan {
    std::optional<BasicError> cutError;    // the text could not be cut into its parts
    std::u16string varName;
    clsVar::Ref var;
    const CompiledStatement* step = nullptr;     // none: step 1
    const CompiledStatement* start = nullptr;
    const CompiledStatement* limit = nullptr;
};

struct Executor::ListItem {
    enum class Kind : std::uint8_t { Literal, BrokenLiteral, Expression, Variable };
    Kind kind = Kind::Literal;
    std::u16string text;                   // a literal's inner text, or the variable's name
    std::u16string_view ending;            // TAB, nothing, or CR LF after a printed item
    const CompiledStatement* exp = nullptr;
    clsVar::Ref var;
};

struct Executor::ListPlan {
    std::vector<ListItem> separated;       // items followed by "," or ";"
    std::optional<ListItem> last;
    std::optional<BasicError> searchError; // raised by the separator search after all separated items
};

// The NEXT statement's increment text ("k=k+(2)") depends on the FOR line's
// name and step at run time; it is compiled again only when they change (see
// refreshIncrement). The name is either empty (the FOR never ran) or the one
// its text gives, so its length tells the two apart.
struct Executor::NextCache {
    std::size_t nameLength = 0;
    std::int16_t step = 0;
    const CompiledStatement* increment = nullptr;
};

struct Executor::PreparedLine {
    Kind kind = Kind::Nothing;
    std::int16_t phLine = 0;               // the line record's, kept close at hand
    std::int16_t target = 0;               // where a jump goes (the line before the next one to run); NEXT: its FOR
    const CompiledStatement* exp = nullptr;      // Expression, Assignment
    const CompiledExpression* condition = nullptr;  // If, DoWhile, LoopUntil
    std::optional<BasicError> error;       // raised when the statement runs (If, Jump)
    std::unique_ptr<ForPlan> forPlan;
    std::unique_ptr<ListPlan> list;
    std::unique_ptr<NextCache> next;
};

}  // namespace tarnik
