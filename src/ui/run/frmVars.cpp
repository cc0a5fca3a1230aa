#include "ui/run/frmVars.h"

#include <QCloseEvent>
#include <QPushButton>
#include <QShortcut>

#include "expr/TextHelpers.h"
#include "interp/RunController.h"
#include "ui/ChineseUi.h"
#include "ui/EditorText.h"
#include "ui/Twips.h"
#include "ui/storage/TarnikSettings.h"
#include "ui_frmVars.h"

namespace tarnik {
namespace {

constexpr int kVariableColumnTwips = 2540;
constexpr int kTickColumnTwips = 970;
constexpr int kLineNumberColumnTwips = 970;
constexpr int kCodeColumnTwips = 20179;

enum CodeColumn { kTickColumn = 0, kLineNumberColumn = 1, kCodeColumn = 2 };

const QColor kCurrentLineColour(0, 0, 255);

// Changed and new variables carry this before their name, besides the bold,
// so that the mark needs no colour to be seen.
const QString kChangeMark = QStringLiteral("● ");

const QString kGeometryKey = QStringLiteral("Debugger/Geometry");


// Looking back, a mark compares with the moment one statement earlier.
QString changeTip(const WatchedVariable& variable, bool lookingBack)
{
    if (variable.change == ValueChange::New) {
        return lookingBack ? QStringLiteral("上一条语句新建的变量")
                           : QStringLiteral("上一次暂停以后新出现的变量");
    }
    const QString format =
        lookingBack ? QStringLiteral("上一条语句执行以前的值：%1") : QStringLiteral("上一次暂停时的值：%1");
    return format.arg(toQString(variable.previousText));
}

}  // namespace

frmVars::frmVars(RunController& controller, QWidget* parent)
    : QDialog(parent), ui(std::make_unique<Ui::frmVars>()), m_controller(controller)
{
    ui->setupUi(this);
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    setSizeGripEnabled(true);
    restoreGeometry(tarnikSettings().value(kGeometryKey).toByteArray());
    const QFont listFont = uiFont({QStringLiteral("Verdana")}, 9);
    ui->lv->setFont(listFont);
    ui->lvCode->setFont(listFont);
    setColumnWidths();

    fillVariables();
    fillProgramLines();
    // Connected only now: the ticks set while filling are not the user's.
    connect(ui->lvCode, &QTreeWidget::itemChanged, this, &frmVars::lvCode_ItemCheck);
    connect(ui->cmdBack, &QPushButton::clicked, this, &frmVars::cmdBack_Click);
    connect(new QShortcut(QKeySequence(Qt::Key_Backspace), this), &QShortcut::activated, ui->cmdBack,
            &QPushButton::click);
    ui->cmdBack->setEnabled(m_controller.canStepBack());
    connect(ui->cmdStep, &QPushButton::clicked, this, &frmVars::cmdStep_Click);
    connect(ui->cmdContinue, &QPushButton::clicked, this, &frmVars::cmdContinue_Click);
    connect(ui->cmdAbort, &QPushButton::clicked, this, &frmVars::cmdAbort_Click);
    // 停止's key in every window; the debugger's own is 终止.
    connect(new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_F2), this), &QShortcut::activated, ui->cmdAbort,
            &QPushButton::click);
}

frmVars::~frmVars() = default;

void frmVars::setColumnWidths()
{
    for (int column = 0; column < ui->lv->columnCount(); ++column) {
        ui->lv->setColumnWidth(column, pixelsFromTwips(kVariableColumnTwips));
    }
    ui->lvCode->setColumnWidth(kTickColumn, pixelsFromTwips(kTickColumnTwips));
    ui->lvCode->setColumnWidth(kLineNumberColumn, pixelsFromTwips(kLineNumberColumnTwips));
    ui->lvCode->setColumnWidth(kCodeColumn, pixelsFromTwips(kCodeColumnTwips));
}

// Variables in the order they were first used, each as the text PRINT
// would show for it; those changed or new since the previous pause marked.
void frmVars::fillVariables()
{
    QList<QTreeWidgetItem*> rows;
    for (const WatchedVariable& variable : m_controller.watchedVariables()) {
        auto* row = new QTreeWidgetItem({toQString(variable.name), toQString(variable.text), QStringLiteral("Double")});
        if (variable.change != ValueChange::Same) markChange(*row, changeTip(variable, m_controller.lookingBack()));
        rows.append(row);
    }
    ui->lv->addTopLevelItems(rows);
}

void frmVars::markChange(QTreeWidgetItem& row, const QString& tip)
{
    row.setText(0, kChangeMark + row.text(0));
    QFont bold = ui->lv->font();
    bold.setBold(true);
    for (int column = 0; column < ui->lv->columnCount(); ++column) {
        row.setFont(column, bold);
        row.setToolTip(column, tip);
    }
}

void frmVars::fillProgramLines()
{
    QList<QTreeWidgetItem*> rows;
    std::int32_t n = 0;
    for (std::u16string_view line : splitLines(m_controller.source())) {
        ++n;
        auto* row = new QTreeWidgetItem({QString(), QString::number(n), toQString(line)});
        row->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
        row->setCheckState(kTickColumn, m_controller.isBreakpoint(n) ? Qt::Checked : Qt::Unchecked);
        rows.append(row);
    }
    ui->lvCode->addTopLevelItems(rows);
    markCurrentLine();
}

// The line about to run in bold blue, the one marked before back to normal.
void frmVars::markCurrentLine()
{
    if (m_currentItem) {
        for (int column = 0; column < ui->lvCode->columnCount(); ++column) {
            m_currentItem->setFont(column, ui->lvCode->font());
        }
        m_currentItem->setData(kCodeColumn, Qt::ForegroundRole, QVariant());
    }
    m_currentItem = ui->lvCode->topLevelItem(m_controller.currentLine() - 1);
    if (!m_currentItem) return;
    QFont bold = ui->lvCode->font();
    bold.setBold(true);
    for (int column = 0; column < ui->lvCode->columnCount(); ++column) m_currentItem->setFont(column, bold);
    m_currentItem->setForeground(kCodeColumn, kCurrentLineColour);
    // Only the first cell of the row is selected, so that the selection's
    // colours do not hide the blue of the line's text.
    ui->lvCode->setCurrentItem(m_currentItem, kTickColumn);
}

void frmVars::showMoment()
{
    ui->lv->clear();
    fillVariables();
    markCurrentLine();
    if (m_currentItem) showCurrentLine();
    ui->cmdBack->setEnabled(m_controller.canStepBack());
}

// Scrolling needs the list's real size, which it has only once shown.
void frmVars::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (m_currentItem) showCurrentLine();
}

void frmVars::showCurrentLine()
{
    ui->lvCode->scrollToItem(m_currentItem);
    ui->lvCode->setFocus();
}

void frmVars::cmdBack_Click()
{
    if (m_controller.stepBack()) showMoment();
}

// Forward through the record while looking back; a real step at its end.
void frmVars::cmdStep_Click()
{
    if (m_controller.stepForward()) {
        showMoment();
        return;
    }
    m_controller.pauseBeforeNextLine();
    done(Stepped);
}

void frmVars::cmdContinue_Click()
{
    m_controller.runFreely();
    done(Continued);
}

// The console hides itself when the run comes back with this choice.
void frmVars::cmdAbort_Click()
{
    done(Aborted);
}

// Every way out (the buttons, the keys, the close box, the console closing
// the window) comes through here, so the place is kept whichever was taken.
void frmVars::done(int result)
{
    tarnikSettings().setValue(kGeometryKey, saveGeometry());
    QDialog::done(result);
}

// Esc.
void frmVars::reject()
{
    cmdContinue_Click();
}

// QDialog would take the close box down the reject path, which is Continue
// here; closing leaves the run's mode as it was.
void frmVars::closeEvent(QCloseEvent* event)
{
    if (isVisible()) done(Closed);
    event->accept();
}

void frmVars::lvCode_ItemCheck(QTreeWidgetItem* item, int column)
{
    if (column != kTickColumn) return;
    m_controller.setBreakpoint(item->text(kLineNumberColumn).toInt(), item->checkState(kTickColumn) == Qt::Checked);
}

}  // namespace tarnik
