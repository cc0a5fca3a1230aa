#include "interp/RunTimeline.h"

#include "interp/ReplayHost.h"
#include "interp/TraceRecorder.h"
#include "interp/clsCode.h"

namespace tarnik {

RunTimeline::RunTimeline(std::u16string source, std::int64_t spacing, std::size_t maxCheckpoints)
    : m_source(std::move(source)), m_spacing(spacing), m_maxCheckpoints(maxCheckpoints)
{
}

RunMoment RunTimeline::momentAt(std::int64_t step)
{
    // A replay far past the frontier takes its checkpoints at the spacing it ends with.
    while (step / m_spacing > static_cast<std::int64_t>(m_maxCheckpoints)) thin();
    const auto* checkpoint = checkpointBefore(step);
    const Checkpoint* from = checkpoint ? &checkpoint->second : nullptr;
    const std::int64_t fromStep = checkpoint ? checkpoint->first : 0;
    const bool extends = step > m_frontier;

    clsCode code;
    code.Init(m_source);
    const ReplayHost::Start start{fromStep, from ? from->answersUsed : 0};
    ReplayHost host(code, m_answers, start, step);
    const std::size_t consoleAtStart = from ? from->consoleLength : 0;
    if (extends) {
        host.takeCheckpoints(m_spacing, [&](std::int64_t at, std::size_t answersUsed, RunCheckpoint point) {
            if (at > m_frontier) keep(at, answersUsed, std::move(point), consoleAtStart + host.appended().size());
        });
    }
    if (from) {
        code.Resume(host, from->point);
    } else {
        code.Run(host);
    }
    RunMoment moment = host.moment();
    moment.console = m_console.substr(0, consoleAtStart) + host.appended();
    if (extends) {
        m_console = moment.console;
        m_frontier = step;
    }
    return moment;
}

const std::pair<const std::int64_t, RunTimeline::Checkpoint>* RunTimeline::checkpointBefore(std::int64_t step) const
{
    const auto after = m_checkpoints.upper_bound(step);
    return after == m_checkpoints.begin() ? nullptr : &*std::prev(after);
}

// The recorder counts from 1 where the replay starts.
std::vector<RecordedStep> RunTimeline::steps(std::int64_t first, std::int64_t last)
{
    const auto* checkpoint = checkpointBefore(first - 1);
    const std::int64_t fromStep = checkpoint ? checkpoint->first : 0;
    clsCode code;
    code.Init(m_source);
    ReplayHost host(code, m_answers, {fromStep, checkpoint ? checkpoint->second.answersUsed : 0}, last);
    std::vector<RecordedStep> record;
    TraceRecorder recorder(code, host, [&](const RecordedStep& step) {
        if (step.step + fromStep < first) return;
        record.push_back(step);
        record.back().step += fromStep;
    });
    if (checkpoint) {
        code.Resume(recorder, checkpoint->second.point);
    } else {
        code.Run(recorder);
    }
    recorder.finish();
    return record;
}

void RunTimeline::keep(std::int64_t step, std::size_t answersUsed, RunCheckpoint point, std::size_t consoleLength)
{
    if (step % m_spacing != 0) return;  // the spacing grew during this replay
    m_checkpoints.emplace(step, Checkpoint{answersUsed, consoleLength, std::move(point)});
    if (m_checkpoints.size() > m_maxCheckpoints) thin();
}

void RunTimeline::thin()
{
    m_spacing *= 2;
    for (auto at = m_checkpoints.begin(); at != m_checkpoints.end();) {
        at = at->first % m_spacing == 0 ? std::next(at) : m_checkpoints.erase(at);
    }
}

std::size_t RunTimeline::memoryBytes() const
{
    std::size_t bytes = m_console.capacity() * sizeof(char16_t);
    for (const auto& [step, checkpoint] : m_checkpoints) {
        const RunCheckpoint& point = checkpoint.point;
        bytes += sizeof(checkpoint) + point.returnStack.capacity() * sizeof(std::int16_t);
        for (const VariableValue& variable : point.variables) {
            bytes += sizeof(variable) + variable.name.capacity() * sizeof(char16_t);
        }
        bytes += point.forBounds.capacity() * sizeof(ForBounds);
    }
    return bytes;
}

}  // namespace tarnik
