#pragma once
// The program object of one run: the source text, the line table it is
// translated into, the run's state and the evaluator. Whoever starts a run
// owns its clsCode (RunController, a tarnik-cli command, a test case), so
// runs never share anything. Run() translates in passes, each one
// walk over the lines or the table, and then executes the table:
//
//   splitPhysicalLines  labels, comments, tabs, one-line IF, INPUT lists, WHILE/WEND
//   rewriteSelectCase   SELECT CASE blocks -> IF / ELSEIF chains
//   flattenElseIf       ELSEIF -> ELSE + nested IF; empty lines dropped
//   linkBlocks          partner indices into the link fields
//   checkUnclosedBlocks blocks still open at the end
//   Executor            the statements, one per step
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "interp/ProgramState.h"
#include "interp/RunCheckpoint.h"
#include "interp/UnclosedBlock.h"
#include "interp/clsLine.h"

namespace tarnik {

class clsExpPlus;
class Executor;
class RunHost;

class clsCode {
public:
    clsCode();
    ~clsCode();
    clsCode(const clsCode&) = delete;
    clsCode& operator=(const clsCode&) = delete;

    ProgramState program;                // this run's state: error, line, mode, breakpoints, variables
    std::u16string strCode;              // the source, lower-cased outside literals and comments
    std::vector<clsLine> Lines{1};       // the line table; slot 0 is never a line
    std::int16_t LineCount = 0;          // records appended by the line pass
    std::unique_ptr<clsExpPlus> Evaluator;  // over program.Variables; created by the executor on first use
    std::int16_t PreviousLine = 0;       // editor line of the statement executed last

    void Init(std::u16string_view sCode);
    // Translates and executes; never throws. An error is left in
    // program.Err, with program.CurrentLine naming its editor line (see
    // StartRun, which takes it out).
    void Run(RunHost& host);
    // Translates and goes on from a checkpoint of an earlier run of the same
    // text, as that run went on from there.
    void Resume(RunHost& host, const RunCheckpoint& from);
    // During a host call before a statement (yield, consoleVisible): the run
    // as it stands, to go on from later with Resume.
    [[nodiscard]] RunCheckpoint checkpoint() const;
    // Translation alone (clearing the variables included); raises the first error.
    void Translate();
    // After a translation that stopped on a block left open: where it begins.
    [[nodiscard]] const UnclosedBlock& unclosedBlock() const { return m_unclosed; }

private:
    // The blocks linkBlocks leaves open, each a stack of table indices with the
    // innermost last; checkUnclosedBlocks reports the first non-empty one.
    struct OpenBlocks {
        std::vector<std::int16_t> ifs;
        std::vector<std::int16_t> fors;
        std::vector<std::int16_t> doWhiles;
        std::vector<std::int16_t> dos;  // closed by LOOP UNTIL
    };
    OpenBlocks m_open;
    UnclosedBlock m_unclosed;
    Executor* m_running = nullptr;  // while Run or Resume executes statements

    void restore(const RunCheckpoint& from);

    void splitPhysicalLines();
    void rewriteSelectCase();
    void flattenElseIf();
    void linkBlocks();
    void checkUnclosedBlocks();
    // The editor line of the first "next NAME" record after a FOR, 0 for none.
    [[nodiscard]] std::int32_t namedNextAfter(std::int16_t forIndex) const;
};

}  // namespace tarnik
