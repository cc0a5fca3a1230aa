// Going back and forth through a run: for generated programs and random walks
// of 单步, 后退, 前进 and 继续, every moment the timeline rebuilds from its
// checkpoints (variables, line, console text, return stack) equals the moment
// a fresh run stepping one statement at a time stood at.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "interp/RunHost.h"
#include "interp/RunTimeline.h"
#include "interp/TraceRecorder.h"
#include "interp/clsCode.h"
#include "support/RandomProgram.h"
#include "support/TestSupport.h"

namespace tarnik::test {
namespace {

constexpr std::int64_t kStepLimit = 3000;

std::u16string editorText(const std::string& program)
{
    std::u16string text;
    for (const char16_t c : utf16(program)) {
        if (c == u'\n') text += u'\r';
        text += c;
    }
    return text;
}

// A fresh run that looks at every statement: the moment before each, the
// answers given so far, and the end.
class SteppingRun : public RunHost {
public:
    struct Seen {
        RunMoment moment;
        std::size_t answersGiven = 0;
    };

    explicit SteppingRun(const std::u16string& source)
    {
        m_code.Init(source);
        m_code.Run(*this);
        if (m_seen.empty() || m_seen.back().moment.step < m_started) see(true);
    }

    [[nodiscard]] const std::vector<Seen>& seen() const { return m_seen; }
    [[nodiscard]] const std::vector<std::u16string>& answers() const { return m_answers; }

    void yield() override { m_afterYield = true; }
    bool consoleVisible() override
    {
        if (!m_afterYield) return true;
        m_afterYield = false;
        see(false);
        if (m_started == kStepLimit) return false;
        ++m_started;
        return true;
    }
    void StopWindow() override {}
    void Append(std::u16string_view text) override { m_console += text; }
    std::optional<std::u16string> InputWindow(std::u16string_view) override
    {
        static const char16_t* const kAnswers[] = {u"3", u"-2", u"0.5", u"7", u"1e2", u"x"};
        m_answers.emplace_back(kAnswers[m_answers.size() % std::size(kAnswers)]);
        return m_answers.back();
    }

private:
    void see(bool ended)
    {
        RunMoment moment;
        moment.step = m_started;
        moment.line = m_code.program.CurrentLine;
        moment.ended = ended;
        moment.console = m_console;
        for (const std::u16string& name : m_code.program.Variables.VarNames()) {
            moment.variables.push_back({name, m_code.program.Variables.valueOf(name)});
        }
        if (!ended) {
            for (const std::int16_t index : m_code.checkpoint().returnStack) {
                moment.gosubLines.push_back(m_code.Lines[index].phLine);
            }
        }
        m_seen.push_back({std::move(moment), m_answers.size()});
    }

    clsCode m_code;
    std::int64_t m_started = 0;
    bool m_afterYield = false;
    std::u16string m_console;
    std::vector<std::u16string> m_answers;
    std::vector<Seen> m_seen;
};

std::string describe(const RunMoment& moment)
{
    std::string text = "step " + std::to_string(moment.step) + " line " + std::to_string(moment.line) +
                       (moment.ended ? " ended" : "") + " vars";
    for (const VariableValue& variable : moment.variables) {
        text += " " + utf8(variable.name) + "=" + std::to_string(variable.value);
    }
    text += " gosub";
    for (const std::int32_t line : moment.gosubLines) text += " " + std::to_string(line);
    return text + " console «" + utf8(moment.console) + "»";
}

// The debugger's position and how far the live run has gone; the timeline is
// told every answer the live run was given.
class Walk {
public:
    Walk(const SteppingRun& reference, RunTimeline& timeline) : m_reference(reference), m_timeline(timeline) {}

    void step()
    {
        if (m_position < last()) moveTo(m_position + 1);
    }
    void back()
    {
        if (m_position > 0) moveTo(m_position - 1);
    }
    // Runs to the next statement on `line`, or to the end.
    void continueTo(std::int32_t line)
    {
        std::int64_t at = m_position + 1;
        while (at < last() && m_reference.seen()[at].moment.line != line) ++at;
        moveTo(std::min(at, last()));
    }

    void check()
    {
        const RunMoment expected = m_reference.seen()[m_position].moment;
        const RunMoment rebuilt = m_timeline.momentAt(m_position);
        ASSERT_EQ(rebuilt, expected) << "rebuilt:  " << describe(rebuilt) << "\nexpected: " << describe(expected);
    }

private:
    [[nodiscard]] std::int64_t last() const { return static_cast<std::int64_t>(m_reference.seen().size()) - 1; }
    void moveTo(std::int64_t position)
    {
        m_position = position;
        while (m_live < m_position) {
            ++m_live;
            const std::size_t given = m_reference.seen()[m_live].answersGiven;
            while (m_timeline.answers().size() < given) {
                m_timeline.addAnswer(m_reference.answers()[m_timeline.answers().size()]);
            }
        }
    }

    const SteppingRun& m_reference;
    RunTimeline& m_timeline;
    std::int64_t m_position = 0;
    std::int64_t m_live = 0;
};

TEST(RunTimelineTest, EveryMomentOfARandomWalkEqualsAFreshRunStoppedThere)
{
    for (unsigned seed = 1; seed <= 80; ++seed) {
        const std::string program = RandomProgram(seed).text();
        SCOPED_TRACE("seed " + std::to_string(seed) + ":\n" + program);
        const std::u16string source = editorText(program);
        const SteppingRun reference(source);
        // Small spacings and few checkpoints, so that thinning happens too.
        RunTimeline timeline(source, 1 + seed % 7, 3 + seed % 5);
        Walk walk(reference, timeline);
        std::mt19937 random(seed);
        walk.check();
        for (int move = 0; move < 120 && !HasFatalFailure(); ++move) {
            switch (random() % 6) {
            case 0:
            case 1: walk.step(); break;
            case 2:
            case 3: walk.back(); break;
            case 4: walk.continueTo(static_cast<std::int32_t>(1 + random() % 40)); break;
            default:
                for (unsigned times = random() % 20; times > 0; --times) walk.back();
            }
            walk.check();
        }
    }
}

// A console that gives the answers it holds and stops the run after kStepLimit statements.
class ScriptedConsole : public RunConsole {
public:
    explicit ScriptedConsole(const std::vector<std::u16string>& answers) : m_answers(answers) {}

    void yield() override { m_afterYield = true; }
    bool consoleVisible() override
    {
        if (!m_afterYield) return true;
        m_afterYield = false;
        return m_started++ < kStepLimit;
    }
    void StopWindow() override {}
    void Append(std::u16string_view) override {}
    std::optional<std::u16string> InputWindow(std::u16string_view) override
    {
        if (m_used == m_answers.size()) return std::nullopt;
        return m_answers[m_used++];
    }
    void Clear() override {}
    void showConsole() override {}
    void setCaption(std::u16string_view) override {}

private:
    const std::vector<std::u16string>& m_answers;
    std::size_t m_used = 0;
    std::int64_t m_started = 0;
    bool m_afterYield = false;
};

std::vector<std::u16string> traceLines(const std::vector<RecordedStep>& steps)
{
    std::vector<std::u16string> lines;
    for (const RecordedStep& step : steps) lines.push_back(traceLine(step));
    return lines;
}

TEST(RunTimelineTest, AnyStretchOfTheRecordEqualsTheRecordOfTheWholeRun)
{
    for (unsigned seed = 1; seed <= 60; ++seed) {
        const std::string program = RandomProgram(seed).text();
        SCOPED_TRACE("seed " + std::to_string(seed) + ":\n" + program);
        const std::u16string source = editorText(program);
        const SteppingRun reference(source);
        clsCode code;
        code.Init(source);
        ScriptedConsole console(reference.answers());
        std::vector<RecordedStep> whole;
        TraceRecorder recorder(code, console, [&](const RecordedStep& step) { whole.push_back(step); });
        code.Run(recorder);
        recorder.finish();

        RunTimeline timeline(source, 1 + seed % 5, 4);
        for (const std::u16string& answer : reference.answers()) timeline.addAnswer(answer);
        const auto total = static_cast<std::int64_t>(whole.size());
        (void)timeline.momentAt(total);  // the checkpoints
        std::mt19937 random(seed);
        for (int stretch = 0; stretch < 5 && total > 0; ++stretch) {
            const std::int64_t first = 1 + static_cast<std::int64_t>(random() % total);
            const std::int64_t last = std::min(total, first + static_cast<std::int64_t>(random() % 20));
            const std::vector<RecordedStep> expected(whole.begin() + first - 1, whole.begin() + last);
            EXPECT_EQ(traceLines(timeline.steps(first, last)), traceLines(expected)) << first << ".." << last;
        }
    }
}

TEST(RunTimelineTest, BackOverInputUsesTheAnswerGivenAndKeepsMemoryBounded)
{
    const std::u16string source = u"input a\r\nfor i = 1 to 30000\r\n  s = s + a\r\nnext\r\nprint s\r\n";
    RunTimeline timeline(source, 64, 8);
    timeline.addAnswer(u"2");
    const RunMoment end = timeline.momentAt(60003);
    EXPECT_TRUE(end.ended);
    EXPECT_EQ(end.console, u"2\r\n60000\r\n");
    EXPECT_LE(timeline.checkpointCount(), 8u);
    EXPECT_GE(timeline.spacing(), 60003 / 8);
    const RunMoment middle = timeline.momentAt(7);
    EXPECT_EQ(middle.line, 4);  // s = s + a ran three times; NEXT is next
    EXPECT_EQ(middle.variables, (std::vector<VariableValue>{{u"a", 2}, {u"i", 3}, {u"s", 6}}));
    EXPECT_EQ(middle.console, u"2\r\n");
    EXPECT_EQ(timeline.answers().size(), 1u);
}

}  // namespace
}  // namespace tarnik::test
