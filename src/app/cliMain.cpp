// tarnik-cli: the headless runner. One row per command in kCommands; a new
// command is a function in the cli namespace and a row here.
#include <algorithm>
#include <csignal>
#include <iostream>
#include <string>
#include <vector>

#include "app/cliCommands.h"

namespace {

using namespace tarnik::cli;

struct Command {
    std::string_view name;
    std::string_view arguments;  // as the usage text shows them
    int (*run)(Arguments arguments);
};

constexpr Command kCommands[] = {
    {"run", "[--crlf] [--max-steps N] FILE", runCommand},
    {"check", "FILE", checkCommand},
    {"format", "[--crlf] FILE", formatCommand},
    {"table", "FILE", tableCommand},
};

void printUsage(const Command* only = nullptr)
{
    std::cerr << "usage:\n";
    for (const Command& command : kCommands) {
        if (only == nullptr || only == &command) {
            std::cerr << "  tarnik-cli " << command.name << ' ' << command.arguments << '\n';
        }
    }
}

}  // namespace

int main(int argc, char** argv)
{
#ifdef SIGPIPE
    // A reader that has gone must show as a failed write, which ends the run
    // with its own exit status, not as a signal that kills the process.
    std::signal(SIGPIPE, SIG_IGN);
#endif
    const std::vector<std::string> words(argv + std::min(argc, 1), argv + argc);
    if (words.empty()) {
        std::cerr << "tarnik-cli: no command given\n";
        printUsage();
        return kExitFailure;
    }
    const auto* command = std::find_if(std::begin(kCommands), std::end(kCommands),
                                       [&](const Command& c) { return c.name == words.front(); });
    if (command == std::end(kCommands)) {
        std::cerr << "tarnik-cli: unknown command " << words.front() << '\n';
        printUsage();
        return kExitFailure;
    }
    try {
        return command->run(Arguments(words).subspan(1));
    } catch (const CliFailure& failure) {
        std::cerr << "tarnik-cli " << command->name << ": " << failure.message << '\n';
        if (failure.showUsage) printUsage(command);
        return kExitFailure;
    }
}
