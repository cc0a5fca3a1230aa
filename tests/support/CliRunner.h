#pragma once
// Runs the built tarnik-cli as a child process, for tests of the command line.
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace tarnik::test {

struct CliResult {
    int exitStatus = -1;  // -1 when the process did not exit normally
    int signal = 0;       // the signal that ended the process, 0 when it exited
    std::string out;      // standard output, as bytes
    std::string err;      // standard error, as bytes
    long peakResidentKilobytes = 0;  // the child's largest resident set size

    // The last line of standard error without its line end.
    [[nodiscard]] std::string lastErrorLine() const;
};

// tarnik-cli with `arguments`, its standard input read from `input`.
CliResult runCli(const std::vector<std::string>& arguments, std::string_view input = {});

// `command` (run, trace…) on a temporary file holding `source`, with
// `options` before the file's name.
CliResult runCliOnSource(const std::string& command, std::string_view source, std::string_view input = {},
                         std::vector<std::string> options = {});

// Any program, the same way.
CliResult runProgram(const std::string& program, const std::vector<std::string>& arguments,
                     std::string_view input = {});
// tarnik-cli with its standard output sent to the file at `outputPath` (such
// as /dev/full); `out` stays empty.
CliResult runCliWritingTo(const std::vector<std::string>& arguments, const std::string& outputPath);

// tarnik-cli writing into a pipe whose reader takes the first line and goes
// away; `out` holds what it took. With `brokenPipeIgnored` the child starts
// with the broken-pipe signal ignored, as some parents leave it.
CliResult runCliIntoClosingPipe(const std::vector<std::string>& arguments, bool brokenPipeIgnored);

// tarnik-cli writing into a pipe whose reader has gone before it starts.
CliResult runCliIntoClosedPipe(const std::vector<std::string>& arguments);

// tarnik-cli started with its standard output closed.
CliResult runCliWithoutOutput(const std::vector<std::string>& arguments);

// tarnik-cli started on the given descriptors (which stay the caller's), and
// its end waited for: for tests that watch a run while it goes on.
int startCli(const std::vector<std::string>& arguments, int in, int out, int err);
CliResult waitForCli(int pid);

// The whole content of a file, as bytes.
std::string readFileBytes(const std::filesystem::path& path);

// The example programs (examples/*.bas), sorted by name.
std::vector<std::filesystem::path> examplePrograms();

// A file in the temporary folder holding `bytes`, removed with the object.
class TempFile {
public:
    explicit TempFile(std::string_view bytes, std::string_view suffix = ".bas");
    ~TempFile();
    TempFile(const TempFile&) = delete;
    TempFile& operator=(const TempFile&) = delete;

    [[nodiscard]] const std::string& path() const { return m_path; }

private:
    std::string m_path;
};

}  // namespace tarnik::test
