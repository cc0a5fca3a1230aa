#include "support/RecordingHost.h"


namespace tarnik::test {

void RecordingHost::yield()
{
    ++statements;
    if (hideAfterStatements >= 0 && statements > hideAfterStatements) visible = false;
}

void RecordingHost::StopWindow()
{
    pausedLines.push_back(controller != nullptr ? controller->currentLine() : 0);
    if (onPause) onPause();
}

std::optional<std::u16string> RecordingHost::InputWindow(std::u16string_view info)
{
    questions.emplace_back(info);
    if (hideWhenAsked) visible = false;
    if (answers.empty() || hideWhenAsked) return std::nullopt;
    std::u16string answer = std::move(answers.front());
    answers.pop_front();
    return answer;
}

void RecordingHost::Clear()
{
    output.clear();
    ++clears;
}

RunResult runProgram(std::u16string_view source, RecordingHost& host)
{
    RunResult result;
    RunController controller;
    host.controller = &controller;
    const RunOutcome outcome = *controller.start(source, host, host.mode);
    host.controller = nullptr;
    for (const RunController::Variable& variable : controller.variables()) result.variables.push_back(variable.name);
    for (std::size_t i = 0; i < host.output.size(); ++i) {
        if (host.output[i] == u'\r' && i + 1 < host.output.size() && host.output[i + 1] == u'\n') continue;
        result.output += host.output[i];
    }
    result.error = outcome.errorLine();
    return result;
}

RunResult runProgram(std::u16string_view source, std::deque<std::u16string> answers)
{
    RecordingHost host;
    host.answers = std::move(answers);
    return runProgram(source, host);
}

std::u16string editorText(std::initializer_list<std::u16string_view> lines)
{
    std::u16string text;
    bool first = true;
    for (std::u16string_view line : lines) {
        if (!first) text += u"\r\n";
        first = false;
        text += line;
    }
    return text;
}

}  // namespace tarnik::test
