#pragma once
// The result of 运行测试: one row per test case with 通过 or 未通过 and why,
// and for the chosen case the expected and the actual output side by side
// with the first differing line marked. While the cases run, it shows which
// one is running and its 停止 button (or closing it) stops the run. It keeps
// of each case only what it shows (the verdict and an excerpt of each
// output) and lets go of it all when it is closed.
#include <QDialog>
#include <QString>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

#include "services/Judging.h"
#include "services/TestCases.h"

class QLabel;
class QPlainTextEdit;
class QPushButton;
class QTreeWidget;

namespace tarnik {

class TextZoom;

// Why a case failed, told from the program: the kind of difference and
// the statement that wrote the first wrong line, or why a loop never ends;
// and where 在这一刻暂停 pauses a replay of the case.
struct CaseExplanation {
    QString text;
    std::optional<std::int64_t> pauseStep;  // statements executed before the one to pause at
    QString answers;                        // the case's answers, one a line
};

class TestResultsDialog : public QDialog {
    Q_OBJECT

public:
    // The outputs are in the console's font, so that their columns line up.
    TestResultsDialog(QWidget* parent, TextZoom& zoom);

    // A new run of `caseCount` cases of `program` (a file name to show).
    void begin(const QString& program, int caseCount);
    void caseStarting(int index, const QString& name);
    void addResult(const CaseResult& result, const CaseExplanation& explanation = {});
    // A case judged as online judges do: its verdict in their words (答案错误,
    // 格式错误, 超时…) and the judged output beside the expected one.
    void addJudgedResult(const CaseResult& shownResult, const JudgeResult& judgement,
                         const CaseExplanation& explanation = {});
    // `run` cases ran, `passed` of them passed; fewer than begun: the run stopped early.
    void end(std::size_t run, std::size_t passed);
    [[nodiscard]] bool stopRequested() const { return m_stopRequested; }
    // 停止: the case running ends, and no further case starts.
    void stop();

signals:
    // 在这一刻暂停 for the chosen case: replay it with its answers and pause
    // after `step` statements.
    void pauseRequested(const QString& answers, qint64 step);

public slots:
    void reject() override;

private:
    void addRow(const CaseResult& result, const QString& failedWord, QString verdict,
                const CaseExplanation& explanation);
    void requestPause();
    void showCase();
    void clearResults();

    QLabel* m_progress;
    QTreeWidget* m_cases;
    QLabel* m_difference;
    QLabel* m_explanation;
    QPushButton* m_pause;
    QPlainTextEdit* m_expected;
    QPlainTextEdit* m_actual;
    QPushButton* m_stop;
    struct Shown {
        QString expected;
        QString actual;
        int markedLine = 0;  // in the excerpts, counted from 1; 0: none to mark
        QString note;        // the first difference, and what of a long output is shown
        CaseExplanation explanation;
    };
    std::vector<Shown> m_shown;
    bool m_stopRequested = false;
    bool m_closed = false;  // closed while its run goes on: the rest is not kept
    int m_caseCount = 0;
};

}  // namespace tarnik
