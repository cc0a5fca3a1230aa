#pragma once
// Everything a running program needs from whoever hosts it: the IDE's windows,
// the command-line runner, or a test. The core reaches the world only here.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace tarnik {

class clsCode;

class RunHost {
public:
    virtual ~RunHost() = default;

    // The program has been translated and is about to run: a host that shows
    // what the translation found (warnings) reads it here instead of
    // translating the text a second time.
    virtual void translated(const clsCode& code) { (void)code; }
    // Called before every statement; the host may process its events here.
    virtual void yield() = 0;
    // How many further statements may start without yield() and
    // consoleVisible() being called, because neither would do or change
    // anything for them. Asked after every yield(); 0: ask every time.
    //
    // The invariant between the two sides: the host counts the granted
    // statements as run when it grants them (a step limit stops on time),
    // and the run starts exactly that many before it calls yield() again.
    // So the grant holds across StopWindow() and InputWindow(), after which
    // the run only asks consoleVisible(); only a console hidden there drops
    // it, and the run ends before its next statement.
    [[nodiscard]] virtual std::int64_t quietStatements() { return 0; }
    // Told just before StopWindow(): how many of the granted statements
    // have not started yet (they run after the pause), for a host that
    // counts the statements run before a pause.
    virtual void quietStatementsLeft(std::int64_t left) { (void)left; }
    // The console's visibility; once it is hidden the run ends before its next statement.
    [[nodiscard]] virtual bool consoleVisible() = 0;
    // Asked before the first statement of a breakpoint's line while the run
    // goes freely: whether to pause there (a breakpoint may hold a condition).
    [[nodiscard]] virtual bool breakpointHolds(std::int16_t line)
    {
        (void)line;
        return true;
    }
    // Asked before every statement while the run's WatchesChange is set:
    // whether the watched value changed since the last time it was asked.
    [[nodiscard]] virtual bool watchedValueChanged() { return false; }
    // Pause in the debugger; returns when the user steps, continues or aborts.
    virtual void StopWindow() = 0;
    // Console output (PRINT and the echo of INPUT answers).
    virtual void Append(std::u16string_view text) = 0;
    // What an INPUT statement printed before asking (its literal items, as
    // in Input "请输入分数："; score), told just before InputWindow; empty
    // when it printed nothing. The IDE's input box shows it as the question.
    virtual void inputQuestion(std::u16string_view question) { (void)question; }
    // Asks for a value; returns a non-empty answer, or nothing when no answer
    // can ever come: the console was hidden while asking, which ends the run
    // like any abort, or a scripted input ran out, which ends it with error 62.
    virtual std::optional<std::u16string> InputWindow(std::u16string_view info) = 0;
};

}  // namespace tarnik
