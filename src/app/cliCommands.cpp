#include "app/cliCommands.h"

#ifdef _WIN32
#include <io.h>
#else
#include <unistd.h>
#endif

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <iostream>
#include <limits>

#include "app/cliArguments.h"
#include "interp/RunController.h"
#include "interp/clsCode.h"
#include "services/RegularFile.h"
#include "services/SourceText.h"

namespace tarnik::cli {
namespace {

CliFailure unreadable(const std::string& path, const FileBytes& file)
{
    return {"无法读取 " + path + "：" + toUtf8(refusalReason(file))};
}

// Translates the text as a run does before its first statement; reports the
// first error and returns false when there is one.
bool translate(clsCode& code, std::u16string_view text)
{
    const RunOutcome outcome = TranslateProgram(text, code);
    if (outcome.error) reportError(outcome);
    return !outcome.error;
}

// The link fields in the order of the line record; a link is set when it is
// not 0 or not empty.
struct LinkField {
    std::string_view name;
    std::int16_t clsLine::*number = nullptr;
    std::u16string clsLine::*text = nullptr;
};
const LinkField kLinkFields[] = {
    {"if_else_id", &clsLine::if_else_id},           {"if_endif_id", &clsLine::if_endif_id},
    {"else_if_id", &clsLine::else_if_id},           {"for_next_id", &clsLine::for_next_id},
    {"exitfor_for_id", &clsLine::exitfor_for_id},   {"next_for_id", &clsLine::next_for_id},
    {"dowhile_loop", nullptr, &clsLine::dowhile_loop},
    {"loop_dowhile", nullptr, &clsLine::loop_dowhile},
    {"do_loopuntil_id", nullptr, &clsLine::do_loopuntil_id},
    {"loopuntile_do_id", nullptr, &clsLine::loopuntile_do_id},
    {"exitdo_dowhile", nullptr, &clsLine::exitdo_dowhile},
    {"exitdo_do", nullptr, &clsLine::exitdo_do},
};

void appendLinks(std::string& out, const clsLine& line)
{
    bool first = true;
    for (const LinkField& field : kLinkFields) {
        std::string value;
        if (field.number != nullptr && line.*field.number != 0) value = std::to_string(line.*field.number);
        if (field.text != nullptr) value = toUtf8(line.*field.text);
        if (value.empty()) continue;
        if (!first) out += ' ';
        out.append(field.name).append("=").append(value);
        first = false;
    }
}

// INDEX, PHLINE, VLINE, STRTEXT and the links set, TAB-separated.
std::string tableText(const clsCode& code)
{
    std::string out;
    for (std::size_t index = 1; index < code.Lines.size(); ++index) {
        const clsLine& line = code.Lines[index];
        out.append(std::to_string(index)).append("\t");
        out.append(std::to_string(line.phLine)).append("\t");
        out.append(std::to_string(line.vLine)).append("\t");
        out.append(toUtf8(line.strText)).append("\t");
        appendLinks(out, line);
        out += '\n';
    }
    return out;
}

// The usual reasons in words a beginner knows; others as the system words them.
std::string outputFailureReason(int error)
{
    switch (error) {
    case ENOSPC: return "磁盘已满";
    case EPIPE: return "读取输出的程序已经退出";
    case EBADF: return "标准输出已经关闭";
    default: return std::strerror(error);
    }
}

}  // namespace

int writeStandardOutput(std::string_view bytes)
{
    while (!bytes.empty()) {
#ifdef _WIN32
        const int written = _write(1, bytes.data(), static_cast<unsigned>(std::min<std::size_t>(bytes.size(), 1 << 30)));
#else
        const ssize_t written = ::write(STDOUT_FILENO, bytes.data(), bytes.size());
#endif
        if (written < 0 && errno == EINTR) continue;
        if (written <= 0) return written < 0 ? errno : EIO;
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
    return 0;
}

int reportOutputFailure(int error)
{
    std::cerr << "tarnik-cli: 无法写出标准输出：" << outputFailureReason(error) << "。运行已停止。" << std::endl;
    return kExitOutputFailed;
}

int writeOutput(std::string_view bytes)
{
    const int error = writeStandardOutput(bytes);
    return error == 0 ? kExitOk : reportOutputFailure(error);
}

std::string fileArgument(std::string_view command, Arguments arguments)
{
    const OperandRule operands[] = {kFileOperand};
    return CommandArguments(command, arguments, {}, operands).operand(0);
}

// A device, a FIFO or a folder is refused before a byte is read: reading
// /dev/zero would never end, a FIFO would wait for a writer.
std::u16string readSource(const std::string& path)
{
    FileBytes file = readRegularFile(path, std::numeric_limits<std::size_t>::max(), Links::Follow);
    if (!file.read()) throw unreadable(path, file);
    DecodedSource source = decodeSource(file.bytes);
    if (source.replacements > 0) {
        std::cerr << "警告: " << path << " 含有无法识别的字节（" << source.replacements << " 处），已显示为 \uFFFD"
                  << std::endl;
    }
    return std::move(source.text);
}

void reportError(const RunOutcome& outcome)
{
    std::cerr << toUtf8(outcome.errorLine()) << std::endl;
}

int checkCommand(Arguments arguments)
{
    std::u16string source = readSource(fileArgument("check", arguments));
    clsCode code;
    return translate(code, source) ? kExitOk : kExitProgramError;
}

int tableCommand(Arguments arguments)
{
    std::u16string source = readSource(fileArgument("table", arguments));
    clsCode code;
    if (!translate(code, source)) return kExitProgramError;
    return writeOutput(tableText(code));
}

}  // namespace tarnik::cli
