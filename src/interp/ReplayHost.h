#pragma once
// The host of a replay: a run of a text already run once, going again from a
// checkpoint with the answers that run was given, to a chosen step. It asks
// nobody and shows nothing; the statements between the points it must see
// run quietly, at full speed. On the way it can hand over checkpoints at
// every multiple of a spacing.
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "interp/RunCheckpoint.h"
#include "interp/RunConsole.h"
#include "interp/RunMoment.h"

namespace tarnik {

class clsCode;

class ReplayHost : public RunConsole {
public:
    struct Start {
        std::int64_t step = 0;         // statements executed before the replay starts
        std::size_t answersUsed = 0;   // answers given before it
    };
    // A checkpoint at a step, the answers used and the console text's length there.
    using CheckpointSink = std::function<void(std::int64_t step, std::size_t answersUsed, RunCheckpoint point)>;

    ReplayHost(const clsCode& code, const std::vector<std::u16string>& answers, Start start, std::int64_t stopAt);

    // Checkpoints at every step divisible by `spacing` after the start.
    void takeCheckpoints(std::int64_t spacing, CheckpointSink sink);

    // After the run returned: the moment it stopped at, or its end (without
    // a return stack: the run is over); its console holds only what the
    // replay appended.
    [[nodiscard]] RunMoment moment();
    [[nodiscard]] const std::u16string& appended() const { return m_appended; }

    void yield() override { m_afterYield = true; }
    [[nodiscard]] std::int64_t quietStatements() override;
    [[nodiscard]] bool consoleVisible() override;
    void StopWindow() override {}
    void Append(std::u16string_view text) override { m_appended += text; }
    std::optional<std::u16string> InputWindow(std::u16string_view info) override;
    void Clear() override {}
    void showConsole() override {}
    void setCaption(std::u16string_view) override {}

private:
    [[nodiscard]] std::int64_t nextStop() const;

    const clsCode& m_code;
    const std::vector<std::u16string>& m_answers;
    std::size_t m_answersUsed;
    std::int64_t m_startStep;
    std::int64_t m_done;  // statements executed or granted
    std::int64_t m_stopAt;
    std::int64_t m_spacing = 0;
    CheckpointSink m_sink;
    bool m_afterYield = false;
    std::optional<RunMoment> m_stopped;
    std::u16string m_appended;
};

}  // namespace tarnik
