#pragma once
// Ctrl+C (SIGINT) and SIGTERM during a run: the first one only marks the run
// to stop before its next statement (or an INPUT waiting for a line), so
// that everything the program printed can still be written; the handler then
// goes back to the default, and a second signal ends the process at once
// (an output nobody reads must not keep it alive). Once the output is out, the
// process ends by the same signal, so that a shell or a script calling the
// runner sees what ended it (a shell shows 130 or 143).
namespace tarnik::cli {

class InterruptSignals {
public:
    // Installs the handlers; until then the signals keep their defaults.
    static void install();
    // The signal received, 0 while none has come.
    [[nodiscard]] static int received();
    // "中断信号 SIGINT（Ctrl+C）" and the like.
    [[nodiscard]] static const char* describe(int signal);
    // Ends the process by `signal`, as if the handler had never been there.
    [[noreturn]] static void endProcess(int signal);
};

}  // namespace tarnik::cli
