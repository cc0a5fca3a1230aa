#pragma once
// Executes a translated and linked line table, one statement per step, from
// line 1 until the end of the table, END, an abort or the first error.
//
// Before the first statement every line is prepared once: its kind, its jump
// target, its expressions compiled, its PRINT/INPUT list cut into items. The
// preparation looks only at the text, so it can neither fail nor change
// anything visible; an error a statement's text implies (a GOTO to a missing
// label, a malformed FOR) is kept and raised when the statement runs, exactly
// where running the text would raise it.
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "expr/BasicError.h"
#include "expr/CompilerHints.h"
#include "expr/clsVar.h"
#include "interp/ReturnStack.h"

namespace tarnik {

class clsCode;
struct ProgramState;
struct clsLine;
class clsExpPlus;
class RunHost;
struct CompiledStatement;
struct CompiledExpression;

class Executor {
public:
    Executor(clsCode& code, RunHost& host);
    ~Executor();

    // The statement loop; an error it stops on is left in the run's program.Err.
    void run();
    // The statement loop from a checkpoint of a run of the same text, whose
    // variables, FOR bounds and previous line the program object already holds.
    void resume(std::int16_t nextIndex, const std::vector<std::int16_t>& returnStack);
    // During a host call before a statement: where the run goes on, and its return stack.
    [[nodiscard]] std::int16_t nextIndex() const { return m_nextIndex; }
    [[nodiscard]] std::vector<std::int16_t> returnStack() const { return m_returnStack.entries(); }

    // GOTO and GOSUB push their line; a push onto a full stack drops the oldest entry.
    static constexpr std::size_t kReturnStackLimit = 100000;

private:
    enum class Flow { Continue, Leave };
    enum class Kind : std::uint8_t {
        Nothing, Expression, Assignment, If, Else, ExitLoop, For, Next, Jump, Return, DoWhile, Loop,
        LoopUntil, End, Stop, Print, Input,
    };
    struct ForPlan;
    struct ListItem;
    struct ListPlan;
    struct NextCache;
    struct PreparedLine;

    void loop(std::int16_t first);

    // Preparation (ExecutorPrepare.cpp).
    void prepare();
    PreparedLine prepareLine(std::int16_t index);
    void prepareIf(PreparedLine& prepared, const std::u16string& body);
    void prepareJump(PreparedLine& prepared, const std::u16string& body);
    std::unique_ptr<ForPlan> planFor(const std::u16string& body);
    std::unique_ptr<ListPlan> planList(std::u16string_view body, bool input);
    ListItem planItem(std::u16string_view item, std::u16string_view ending, bool input);

    // Statements (Executor.cpp, ExecutorLists.cpp).
    TARNIK_ALWAYS_INLINE Flow execute(PreparedLine& prepared, std::int16_t& i);
    bool yieldToHost(std::int16_t index, std::int16_t line);
    void pauseIfWanted(std::int16_t line);
    void stopWindow();
    void afterWaitingForUser();
    void requireVariablesKept() const;
    void noteHowToPause();
    TARNIK_ALWAYS_INLINE Flow executeIf(const PreparedLine& prepared, std::int16_t& i);
    Flow executeFor(PreparedLine& prepared, std::int16_t& i);
    TARNIK_ALWAYS_INLINE void executeNext(PreparedLine& prepared, std::int16_t& i);
    void refreshIncrement(NextCache& cache, const clsLine& forLine);
    TARNIK_ALWAYS_INLINE Flow executeJump(const PreparedLine& prepared, std::int16_t& i);
    TARNIK_ALWAYS_INLINE void executeReturn(std::int16_t& i);
    Flow executeList(const ListPlan& plan, bool input);
    void printItem(const ListItem& item);
    Flow inputItem(const ListItem& item);
    void append(std::u16string_view text, std::u16string_view ending);

    clsCode& m_code;
    ProgramState& program;  // m_code's, named as the translator names it
    RunHost& m_host;
    clsExpPlus& m_evaluator;
    std::vector<PreparedLine> m_lines;  // parallel to the line table, slot 0 unused
    std::unordered_map<std::int16_t, std::int16_t> m_labels;  // label -> first line carrying it
    ReturnStack m_returnStack{kReturnStackLimit};
    std::u16string m_output;  // scratch for one console append
    // The literal PRINT item printed last, and on which editor line.
    struct PrintedLiteral {
        const std::u16string* text = nullptr;
        std::int32_t line = 0;
    } m_lastLiteral;
    // Statements the host granted to start without asking it (see
    // RunHost::quietStatements): the host counted them as run when it granted
    // them, so the grant is used up even across StopWindow and InputWindow,
    // and dropped only when the console was hidden there (the run then ends
    // before its next statement).
    std::int64_t m_quietStatements = 0;
    // The prepared lines point into the evaluator's compiled forms, which
    // are dropped with the variables they were resolved against; a host call
    // that cleared them (a run started inside this one) must end the program
    // before a freed step runs.
    std::uint64_t m_variablesGeneration = 0;
    // Whether any line may pause the run: stepping, or a breakpoint set. Both
    // change only while the host has control (yield, StopWindow, InputWindow),
    // so this is worked out again after each of them, not before every statement.
    bool m_mayPause = true;
    // The table index of the statement the host is asked about (yield).
    std::int16_t m_nextIndex = 1;
};

}  // namespace tarnik
