#include "ui/run/TestResultsDialog.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSplitter>
#include <QTextBlock>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <algorithm>
#include <initializer_list>

#include "ui/EditorText.h"
#include "ui/PresentationMode.h"
#include "ui/TextZoom.h"
#include "ui/Theme.h"

namespace tarnik {
namespace {

const QString kPassedMark = QStringLiteral("✔ ");
const QString kFailedMark = QStringLiteral("✘ ");
constexpr char16_t kTabMark = u'→';
constexpr char16_t kTrailingBlankMark = u'·';

QPlainTextEdit* outputBox(const QString& name, QWidget* parent)
{
    auto* box = new QPlainTextEdit(parent);
    box->setObjectName(name);
    box->setReadOnly(true);
    box->setLineWrapMode(QPlainTextEdit::NoWrap);
    return box;
}

QWidget* titled(const QString& title, QWidget* content, QWidget* parent)
{
    auto* pane = new QWidget(parent);
    auto* layout = new QVBoxLayout(pane);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(new QLabel(title, pane));
    layout->addWidget(content);
    content->setAccessibleName(title);
    return pane;
}

// What no eye sees in an output is drawn: a TAB as →, the blanks at a line's
// end as · each. `drawn` is set when anything was.
QString withVisibleBlanks(const QString& output, bool& drawn)
{
    QStringList lines = output.split(QLatin1Char('\n'));
    for (QString& line : lines) {
        qsizetype end = line.size();
        while (end > 0 && line[end - 1] == u' ') --end;
        drawn = drawn || end < line.size() || line.contains(u'\t');
        line = line.left(end).replace(u'\t', kTabMark) + QString(line.size() - end, kTrailingBlankMark);
    }
    return lines.join(QLatin1Char('\n'));
}

// Line `line` (from 1) of a shown excerpt, quoted; a line the output does not
// have is said so.
QString quotedLine(const QString& excerpt, int line, bool exists)
{
    if (!exists) return QStringLiteral("（没有这一行）");
    return QStringLiteral("«%1»").arg(excerpt.section(QLatin1Char('\n'), line - 1, line - 1));
}

void markLine(QPlainTextEdit& box, int line)
{
    QList<QTextEdit::ExtraSelection> marks;
    const QTextBlock block = box.document()->findBlockByNumber(line - 1);
    if (line > 0 && block.isValid()) {
        QTextEdit::ExtraSelection mark;
        mark.format.setBackground(Theme::instance().colour(ThemeColour::DifferingLine));
        mark.format.setProperty(QTextFormat::FullWidthSelection, true);
        mark.cursor = QTextCursor(block);
        marks.append(mark);
        box.setTextCursor(mark.cursor);
        box.ensureCursorVisible();
    }
    box.setExtraSelections(marks);
}

}  // namespace

TestResultsDialog::TestResultsDialog(QWidget* parent, TextZoom& zoom)
    : QDialog(parent), m_progress(new QLabel(this)), m_cases(new QTreeWidget(this)), m_difference(new QLabel(this)),
      m_explanation(new QLabel(this)), m_pause(new QPushButton(QStringLiteral("在这一刻暂停(&P)"), this)),
      m_expected(outputBox(QStringLiteral("txtExpected"), this)), m_actual(outputBox(QStringLiteral("txtActual"), this)),
      m_stop(new QPushButton(QStringLiteral("停止(&S)"), this))
{
    setObjectName(QStringLiteral("dlgTestResults"));
    setWindowTitle(QStringLiteral("测试结果"));
    m_progress->setObjectName(QStringLiteral("lblProgress"));
    m_difference->setObjectName(QStringLiteral("lblDifference"));
    m_cases->setObjectName(QStringLiteral("lvCases"));
    m_explanation->setObjectName(QStringLiteral("lblExplanation"));
    m_explanation->setWordWrap(true);
    m_explanation->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_pause->setObjectName(QStringLiteral("cmdPauseHere"));
    m_pause->setToolTip(QStringLiteral("用这个用例的答案重新调试运行，停在产生第一处错误输出的语句之前（可以后退）"));
    m_pause->setEnabled(false);
    m_cases->setHeaderLabels({QStringLiteral("测试用例"), QStringLiteral("结果")});
    m_cases->setRootIsDecorated(false);
    m_cases->setAccessibleName(QStringLiteral("测试用例"));
    m_cases->setAccessibleDescription(QStringLiteral("每个用例一行：名称和结果；选中一行，下面显示期望输出和实际输出"));
    m_cases->header()->setStretchLastSection(true);
    m_stop->setObjectName(QStringLiteral("cmdStop"));
    zoom.attach(*m_expected);
    zoom.attach(*m_actual);
    // The verdicts quote output lines, read best in the outputs' own font.
    for (QWidget* quoting : std::initializer_list<QWidget*>{m_cases, m_difference}) {
        quoting->setFont(zoom.font());
        connect(&zoom, &TextZoom::changed, quoting, [quoting, &zoom] { quoting->setFont(zoom.font()); });
    }

    auto* sideBySide = new QSplitter(Qt::Horizontal, this);
    sideBySide->addWidget(titled(QStringLiteral("期望输出"), m_expected, sideBySide));
    sideBySide->addWidget(titled(QStringLiteral("实际输出"), m_actual, sideBySide));
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    buttons->addButton(m_stop, QDialogButtonBox::ActionRole);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_progress);
    layout->addWidget(m_cases, 1);
    layout->addWidget(m_difference);
    layout->addWidget(sideBySide, 2);
    auto* why = new QHBoxLayout;
    why->addWidget(m_explanation, 1);
    why->addWidget(m_pause, 0, Qt::AlignTop);
    layout->addLayout(why);
    layout->addWidget(buttons);
    resize(PresentationMode::instance().windowSize({720, 520}, *this));

    connect(buttons, &QDialogButtonBox::rejected, this, &TestResultsDialog::reject);
    connect(m_stop, &QPushButton::clicked, this, &TestResultsDialog::stop);
    connect(m_pause, &QPushButton::clicked, this, &TestResultsDialog::requestPause);
    connect(m_cases, &QTreeWidget::currentItemChanged, this, &TestResultsDialog::showCase);
    // The differing line's tint is the theme's.
    connect(&Theme::instance(), &Theme::changed, this, &TestResultsDialog::showCase);
}

void TestResultsDialog::begin(const QString& program, int caseCount)
{
    setWindowTitle(QStringLiteral("测试结果 - %1").arg(program));
    clearResults();
    m_stopRequested = false;
    m_closed = false;
    m_caseCount = caseCount;
    m_stop->setEnabled(true);
    m_progress->setText(QStringLiteral("共 %1 个测试用例。").arg(caseCount));
}

void TestResultsDialog::clearResults()
{
    m_cases->clear();
    m_shown = {};
    m_expected->clear();
    m_actual->clear();
    m_difference->clear();
    m_explanation->clear();
    m_pause->setEnabled(false);
}

void TestResultsDialog::caseStarting(int index, const QString& name)
{
    m_progress->setText(QStringLiteral("正在运行第 %1 个测试用例（%2），共 %3 个……")
                            .arg(index + 1)
                            .arg(name)
                            .arg(m_caseCount));
}

// A line number here is one of the output, never one of the program, and
// says so; the other verdicts read as tarnik-cli test writes them.
void TestResultsDialog::addResult(const CaseResult& result, const CaseExplanation& explanation)
{
    addRow(result, QStringLiteral("未通过"), toQString(verdictText(result, kExcerptLineLength)), explanation);
}

void TestResultsDialog::addJudgedResult(const CaseResult& shownResult, const JudgeResult& judgement,
                                        const CaseExplanation& explanation)
{
    addRow(shownResult, toQString(verdictWord(judgement.verdict)), toQString(judgeLineText(judgement)), explanation);
}

void TestResultsDialog::addRow(const CaseResult& result, const QString& failedWord, QString verdict,
                               const CaseExplanation& explanation)
{
    if (m_closed) return;
    const bool passed = result.verdict == CaseVerdict::Passed;
    bool drawn = false;
    m_shown.push_back({withVisibleBlanks(toQString(result.expected.text), drawn),
                       withVisibleBlanks(toQString(result.actual.text), drawn), 0, {}, explanation});
    Shown& shown = m_shown.back();
    if (result.verdict == CaseVerdict::OutputDiffers) {
        const OutputDifference& difference = result.difference;
        shown.markedLine = difference.line - result.actual.firstLine + 1;
        verdict = QStringLiteral("%1 输出第%2行: 期望 %3 实际 %4")
                      .arg(failedWord)
                      .arg(difference.line)
                      .arg(quotedLine(shown.expected, shown.markedLine, difference.expected.has_value()),
                           quotedLine(shown.actual, shown.markedLine, difference.actual.has_value()));
        shown.note = QStringLiteral("输出第 %1 行不同（已标出）。").arg(difference.line);
    }
    auto* row = new QTreeWidgetItem(m_cases, {toQString(result.name), (passed ? kPassedMark : kFailedMark) + verdict});
    if (drawn) shown.note += QStringLiteral("→ 是 TAB，· 是行尾的空格。");
    if (result.actual.firstLine > 1 || result.actual.cutAfter || result.expected.cutAfter) {
        const int lines = static_cast<int>(std::max(shown.expected.count(QLatin1Char('\n')), shown.actual.count(QLatin1Char('\n')))) + 1;
        shown.note += QStringLiteral("输出很长，这里只显示第 %1 到第 %2 行。")
                          .arg(result.actual.firstLine)
                          .arg(result.actual.firstLine + lines - 1);
    }
    // The first failing case is the one to look at.
    if (!passed && m_cases->currentItem() == nullptr) m_cases->setCurrentItem(row);
}

void TestResultsDialog::end(std::size_t run, std::size_t passed)
{
    m_stop->setEnabled(false);
    if (m_closed) return;
    QString summary = toQString(summaryText(run, passed));
    if (run < static_cast<std::size_t>(m_caseCount)) summary += QStringLiteral("（已停止，后面的用例没有运行）");
    m_progress->setText(summary);
    if (!m_cases->currentItem() && m_cases->topLevelItemCount() > 0) m_cases->setCurrentItem(m_cases->topLevelItem(0));
}

void TestResultsDialog::showCase()
{
    const int index = m_cases->indexOfTopLevelItem(m_cases->currentItem());
    if (index < 0 || index >= static_cast<int>(m_shown.size())) return;
    const Shown& shown = m_shown[static_cast<std::size_t>(index)];
    m_expected->setPlainText(shown.expected);
    m_actual->setPlainText(shown.actual);
    markLine(*m_expected, shown.markedLine);
    markLine(*m_actual, shown.markedLine);
    m_difference->setText(shown.note);
    m_explanation->setText(shown.explanation.text);
    m_pause->setEnabled(shown.explanation.pauseStep.has_value());
}

void TestResultsDialog::requestPause()
{
    const int index = m_cases->indexOfTopLevelItem(m_cases->currentItem());
    if (index < 0 || index >= static_cast<int>(m_shown.size())) return;
    const CaseExplanation& explanation = m_shown[static_cast<std::size_t>(index)].explanation;
    if (explanation.pauseStep) emit pauseRequested(explanation.answers, *explanation.pauseStep);
}

void TestResultsDialog::stop()
{
    m_stopRequested = true;
    m_stop->setEnabled(false);
    m_progress->setText(QStringLiteral("正在停止……"));
}

// Closing the window while the cases run stops them too. What it showed is
// let go: it is only ever shown again by a new run.
void TestResultsDialog::reject()
{
    if (m_stop->isEnabled()) stop();
    QDialog::reject();
    m_closed = true;
    clearResults();
}

}  // namespace tarnik
