#pragma once
// tarnik-cli while a test watches it: its standard output on a terminal (a
// pseudo-terminal in raw mode, so bytes arrive as they were written) or on a
// pipe the test reads only when it chooses to; its standard input a pipe the
// test holds open without writing (an INPUT waits for ever); its standard
// error a pipe. Every wait ends when what it waits for has come, or after a
// generous bound when it never does.
#include <string>
#include <string_view>
#include <vector>

#include "support/CliRunner.h"

namespace tarnik::test {

class RunningCli {
public:
    enum class Output { Terminal, Pipe };

    RunningCli(const std::vector<std::string>& arguments, Output output);
    ~RunningCli();
    RunningCli(const RunningCli&) = delete;
    RunningCli& operator=(const RunningCli&) = delete;

    // Reads until standard output (or error) holds `text`; false when it ended without.
    bool waitForOutput(std::string_view text);
    bool waitForError(std::string_view text);
    // Waits until the output pipe holds all it can take: the run then waits to write.
    bool waitUntilOutputIsFull();
    void sendSignal(int number);
    // Closes standard input, reads both outputs to their end and waits for the
    // process; `out` and `err` hold everything from the start.
    CliResult finish();

private:
    int m_pid = -1;
    int m_in = -1;   // our end of its standard input
    int m_out = -1;  // the terminal's master side, or the pipe's reading end
    int m_err = -1;
    std::string m_outText;
    std::string m_errText;
};

}  // namespace tarnik::test
