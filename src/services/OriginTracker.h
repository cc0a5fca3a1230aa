#pragma once
// Follows the replay of a failing case step by step: the line ends of the
// output seen so far, the last change of every variable, and, at the step
// whose output first covers the first wrong character, the origin of that
// character. With the record's INPUT answers it also keeps the output
// without the text that INPUT lines printed.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "interp/RecordedStep.h"
#include "services/OutputOrigin.h"

namespace tarnik {

class clsCode;
class TraceRecorder;

class OriginTracker {
public:
    // `output`: the console's output, as it grows; `difference`: the first differing line.
    OriginTracker(const clsCode& code, std::u16string_view editorText, const std::u16string& output,
                  const OutputDifference& difference);

    // With the record's INPUT answers, the output without the text INPUT lines printed is kept too.
    void keepOutputWithoutInputText(const TraceRecorder& recorder) { m_recorder = &recorder; }

    void stepDone(const RecordedStep& step);
    [[nodiscard]] const std::optional<OutputOrigin>& origin() const { return m_origin; }
    [[nodiscard]] bool rightWithoutInputText(std::u16string_view expected) const;

private:
    struct Change {
        std::int64_t step = 0;
        std::int32_t line = 0;
        std::vector<VariableValue> loopVariables;
    };

    void scanLineEnds();
    [[nodiscard]] bool coversWrongCharacter() const;
    [[nodiscard]] OutputOrigin originAt(const RecordedStep& step) const;
    [[nodiscard]] bool givesValue(const VariableValue& changed) const;
    [[nodiscard]] bool assignedBy(const RecordedStep& step, std::u16string_view name) const;
    void noteChanges(const RecordedStep& step);
    void noteInputText(const RecordedStep& step);
    [[nodiscard]] std::u16string_view editorLine(std::int32_t line) const;
    [[nodiscard]] std::size_t lineStart() const;
    [[nodiscard]] const std::vector<std::u16string>& loopVariablesAround(std::int32_t line);

    const clsCode& m_code;
    const std::u16string& m_output;
    std::int32_t m_outputLine;
    std::optional<std::size_t> m_column;
    std::vector<std::u16string> m_editorLines;
    std::vector<std::size_t> m_lineEnds;  // offsets just past every line end of the output
    std::size_t m_scanned = 0;
    std::size_t m_sizeBefore = 0;  // the output's size before the step
    std::optional<OutputOrigin> m_origin;
    std::unordered_map<std::u16string, Change> m_changes;  // by lower-case name
    std::unordered_map<std::int32_t, std::vector<std::u16string>> m_loopVariables;  // by editor line
    const TraceRecorder* m_recorder = nullptr;
    std::size_t m_answersSeen = 0;
    std::u16string m_withoutQuestions;  // the echoed answers kept
    std::u16string m_withoutInputText;
};

}  // namespace tarnik
