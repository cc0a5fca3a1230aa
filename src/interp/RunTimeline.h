#pragma once
// Every earlier moment of a run, rebuilt on demand: a run is a function of
// its text and its answers, so the state after any step is found by running
// again from the nearest checkpoint before it, quietly and at full speed,
// with the answers the run was given (nobody is asked twice). Checkpoints
// are taken on the first replay that passes them, one every `spacing`
// steps; when there are more than a maximum the spacing doubles and
// every other one goes, so memory stays bounded however long the run.
//
// The timeline follows a live run: the debugger tells it each answer given
// and how many statements have run; no moment past that is asked for.
#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "interp/RecordedStep.h"
#include "interp/RunCheckpoint.h"
#include "interp/RunMoment.h"

namespace tarnik {

class RunTimeline {
public:
    static constexpr std::int64_t kFirstSpacing = 4096;
    // A checkpoint of a run whose return stack is full holds 200 KB.
    static constexpr std::size_t kMaxCheckpoints = 128;

    explicit RunTimeline(std::u16string source, std::int64_t spacing = kFirstSpacing,
                        std::size_t maxCheckpoints = kMaxCheckpoints);

    void addAnswer(std::u16string answer) { m_answers.push_back(std::move(answer)); }
    [[nodiscard]] const std::vector<std::u16string>& answers() const { return m_answers; }

    // The run after `step` statements (0: before the first).
    [[nodiscard]] RunMoment momentAt(std::int64_t step);
    // The execution record of steps `first` to `last` (numbered from 1), as
    // tarnik-cli trace writes it; fewer when the run ended before `last`.
    [[nodiscard]] std::vector<RecordedStep> steps(std::int64_t first, std::int64_t last);

    [[nodiscard]] std::size_t checkpointCount() const { return m_checkpoints.size(); }
    [[nodiscard]] std::int64_t spacing() const { return m_spacing; }
    // Bytes held for the checkpoints and the console text, roughly.
    [[nodiscard]] std::size_t memoryBytes() const;

private:
    struct Checkpoint {
        std::size_t answersUsed = 0;
        std::size_t consoleLength = 0;
        RunCheckpoint point;
    };

    // The checkpoint a replay to the moment after `step` statements starts from; nullptr: the start.
    [[nodiscard]] const std::pair<const std::int64_t, Checkpoint>* checkpointBefore(std::int64_t step) const;
    void keep(std::int64_t step, std::size_t answersUsed, RunCheckpoint point, std::size_t consoleLength);
    void thin();

    std::u16string m_source;
    std::vector<std::u16string> m_answers;
    std::int64_t m_spacing;
    std::size_t m_maxCheckpoints;
    std::map<std::int64_t, Checkpoint> m_checkpoints;  // by step; none before the first replay
    std::int64_t m_frontier = 0;  // every checkpoint up to here is taken; m_console holds the text up to here
    std::u16string m_console;
};

}  // namespace tarnik
