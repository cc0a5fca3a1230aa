#include "ui/TestResultsDialog.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSplitter>
#include <QTextBlock>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "ui/EditorText.h"
#include "ui/TextZoom.h"

namespace tarnik {
namespace {

// Amber, as the editor's paused line: seen on a light and a dark theme.
const QColor kDifferingLineTint(255, 190, 0, 110);
const QString kPassedMark = QStringLiteral("✔ ");
const QString kFailedMark = QStringLiteral("✘ ");

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
    return pane;
}

void markLine(QPlainTextEdit& box, int line)
{
    QList<QTextEdit::ExtraSelection> marks;
    const QTextBlock block = box.document()->findBlockByNumber(line - 1);
    if (line > 0 && block.isValid()) {
        QTextEdit::ExtraSelection mark;
        mark.format.setBackground(kDifferingLineTint);
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
      m_expected(outputBox(QStringLiteral("txtExpected"), this)), m_actual(outputBox(QStringLiteral("txtActual"), this)),
      m_stop(new QPushButton(QStringLiteral("停止(&S)"), this))
{
    setObjectName(QStringLiteral("dlgTestResults"));
    setWindowTitle(QStringLiteral("测试结果"));
    m_progress->setObjectName(QStringLiteral("lblProgress"));
    m_difference->setObjectName(QStringLiteral("lblDifference"));
    m_cases->setObjectName(QStringLiteral("lvCases"));
    m_cases->setHeaderLabels({QStringLiteral("测试用例"), QStringLiteral("结果")});
    m_cases->setRootIsDecorated(false);
    m_cases->header()->setStretchLastSection(true);
    m_stop->setObjectName(QStringLiteral("cmdStop"));
    zoom.attach(*m_expected);
    zoom.attach(*m_actual);

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
    layout->addWidget(buttons);
    resize(720, 520);

    connect(buttons, &QDialogButtonBox::rejected, this, &TestResultsDialog::reject);
    connect(m_stop, &QPushButton::clicked, this, &TestResultsDialog::stop);
    connect(m_cases, &QTreeWidget::currentItemChanged, this, &TestResultsDialog::showCase);
}

void TestResultsDialog::begin(const QString& program, int caseCount)
{
    setWindowTitle(QStringLiteral("测试结果 - %1").arg(program));
    m_cases->clear();
    m_shown.clear();
    m_expected->clear();
    m_actual->clear();
    m_difference->clear();
    m_stopRequested = false;
    m_caseCount = caseCount;
    m_stop->setEnabled(true);
    m_progress->setText(QStringLiteral("共 %1 个测试用例。").arg(caseCount));
}

void TestResultsDialog::caseStarting(int index, const QString& name)
{
    m_progress->setText(QStringLiteral("正在运行第 %1 个测试用例（%2），共 %3 个……")
                            .arg(index + 1)
                            .arg(name)
                            .arg(m_caseCount));
}

void TestResultsDialog::addResult(const CaseResult& result, const std::u16string& expected)
{
    const bool passed = result.verdict == CaseVerdict::Passed;
    auto* row = new QTreeWidgetItem(m_cases, {toQString(result.name),
                                              (passed ? kPassedMark : kFailedMark) + toQString(verdictText(result))});
    const int differingLine = result.verdict == CaseVerdict::OutputDiffers ? result.difference.line : 0;
    QString expectedLf = toQString(expected);
    expectedLf.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(QLatin1Char('\r'), QLatin1Char('\n'));
    m_shown.push_back({expectedLf, toQString(result.output), differingLine});
    // The first failing case is the one to look at.
    if (!passed && m_cases->currentItem() == nullptr) m_cases->setCurrentItem(row);
}

void TestResultsDialog::end(const std::vector<CaseResult>& results)
{
    m_stop->setEnabled(false);
    QString summary = toQString(summaryText(results));
    if (m_stopRequested) summary += QStringLiteral("（已停止，后面的用例没有运行）");
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
    markLine(*m_expected, shown.differingLine);
    markLine(*m_actual, shown.differingLine);
    m_difference->setText(shown.differingLine > 0 ? QStringLiteral("第 %1 行不同（已标出）。").arg(shown.differingLine)
                                                   : QString());
}

void TestResultsDialog::stop()
{
    m_stopRequested = true;
    m_stop->setEnabled(false);
    m_progress->setText(QStringLiteral("正在停止……"));
}

// Closing the window while the cases run stops them too.
void TestResultsDialog::reject()
{
    if (m_stop->isEnabled()) stop();
    QDialog::reject();
}

}  // namespace tarnik
