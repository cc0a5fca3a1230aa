#include "ui/run/frmVars.h"

#include <QAction>
#include <QClipboard>
#include <QCoreApplication>
#include <QCloseEvent>
#include <QDir>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QPointer>
#include <QThreadPool>
#include <QPushButton>
#include <QScreen>
#include <QShortcut>
#include <QStyle>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <algorithm>

#include "expr/NumberText.h"
#include "expr/TextHelpers.h"
#include "interp/RunController.h"
#include "services/help/LoopDiagnosis.h"
#include "ui/ChineseUi.h"
#include "ui/Dialogs.h"
#include "ui/EditorText.h"
#include "ui/storage/CheckedFileWriter.h"
#include "ui/Twips.h"
#include "ui/storage/TarnikSettings.h"
#include "ui/PresentationMode.h"
#include "ui/Theme.h"
#include "ui/run/WatchPanel.h"
#include "ui_frmVars.h"

namespace tarnik {
namespace {

constexpr int kVariableColumnTwips = 2540;
constexpr int kTickColumnTwips = 970;
constexpr int kLineNumberColumnTwips = 970;
constexpr int kCodeColumnTwips = 20179;

enum CodeColumn { kTickColumn = 0, kLineNumberColumn = 1, kCodeColumn = 2 };

// Changed and new variables carry this before their name, besides the bold,
// so that the mark needs no colour to be seen.
const QString kChangeMark = QStringLiteral("● ");

const QString kGeometryKey = QStringLiteral("Debugger/Geometry");

constexpr int kListPointSize = 9;
// How many rows each list shows at least, and the room a row takes beyond its text.
constexpr int kShownRows = 8;
constexpr int kRowPadding = 4;

// The lists' own small font, bigger in 演示模式.
QFont listFont()
{
    QFont font = uiFont({QStringLiteral("Verdana")}, kListPointSize);
    font.setPointSizeF(PresentationMode::instance().scaled(static_cast<double>(kListPointSize)));
    return font;
}

// The buttons' and the status line's sizes, fixed as the lists' columns are.
constexpr QSize kButtonSize{89, 25};
constexpr int kStatusHeight = 17;

// A column as wide as `twips`, wider in 演示模式 as its text is.
int columnWidth(int twips)
{
    return PresentationMode::instance().scaled(pixelsFromTwips(twips));
}

// The record list shows this many steps on either side of the moment shown.
constexpr std::int64_t kRecordReach = 100;
enum RecordColumn { kStepColumn = 0, kRecordLineColumn = 1, kChangesColumn = 2, kOutputColumn = 3 };

// A line end shows as ↵, so that a step's output stays on its row.
QString cellText(std::u16string_view text)
{
    QString cell = toQString(text);
    cell.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    cell.replace(QLatin1Char('\n'), QChar(u'↵'));
    cell.replace(QLatin1Char('\t'), QLatin1Char(' '));
    return cell;
}

QString changesText(const RecordedStep& step)
{
    QStringList changes;
    for (const VariableValue& change : step.changes) {
        changes << toQString(change.name) + QLatin1Char('=') + toQString(numberText(change.value));
    }
    return changes.join(QStringLiteral(", "));
}

// The trace table drawn on paper: 步, 行, one column per variable in the
// order they first changed, 输出; a value stands only where it changed.
std::vector<QStringList> traceTable(const std::vector<RecordedStep>& steps)
{
    QStringList names;
    for (const RecordedStep& step : steps) {
        for (const VariableValue& change : step.changes) {
            if (!names.contains(toQString(change.name))) names << toQString(change.name);
        }
    }
    std::vector<QStringList> table{QStringList{QStringLiteral("步"), QStringLiteral("行")} + names +
                                   QStringList{QStringLiteral("输出")}};
    for (const RecordedStep& step : steps) {
        QStringList row{QString::number(step.step), QString::number(step.line)};
        for (qsizetype i = 0; i < names.size(); ++i) row << QString();
        for (const VariableValue& change : step.changes) {
            row[2 + names.indexOf(toQString(change.name))] = toQString(numberText(change.value));
        }
        row << cellText(step.output);
        table.push_back(row);
    }
    return table;
}

QString csvField(const QString& cell)
{
    if (!cell.contains(QLatin1Char(',')) && !cell.contains(QLatin1Char('"'))) return cell;
    return QLatin1Char('"') + QString(cell).replace(QStringLiteral("\""), QStringLiteral("\"\"")) +
           QLatin1Char('"');
}

// Rows ended by `lineEnd`, cells separated by `separator`, each cell through `field`.
QString joinTable(const std::vector<QStringList>& table, QChar separator, const QString& lineEnd,
                  QString (*field)(const QString&))
{
    QString text;
    for (const QStringList& row : table) {
        QStringList cells;
        for (const QString& cell : row) cells << field(cell);
        text += cells.join(separator) + lineEnd;
    }
    return text;
}

QString asIs(const QString& cell) { return cell; }


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

frmVars::frmVars(RunController& controller, Dialogs& dialogs, QWidget* parent)
    : QDialog(parent), ui(std::make_unique<Ui::frmVars>()), m_controller(controller), m_dialogs(dialogs)
{
    ui->setupUi(this);
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    setSizeGripEnabled(true);
    restoreGeometry(tarnikSettings().value(kGeometryKey).toByteArray());
    ui->lv->setFont(listFont());
    ui->lvCode->setFont(listFont());
    nameForScreenReaders();
    setColumnWidths();
    setControlSizes();

    fillVariables();
    fillProgramLines();
    giveListsRoom();
    connect(&PresentationMode::instance(), &PresentationMode::changed, this, &frmVars::giveListsRoom);
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
    auto* runTo = new QAction(QStringLiteral("运行到此行"), this);
    runTo->setObjectName(QStringLiteral("mnuRunToLine"));
    runTo->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_F8));
    connect(runTo, &QAction::triggered, this, &frmVars::runToSelectedLine);
    addAction(runTo);
    ui->lvCode->addAction(runTo);
    ui->lvCode->setContextMenuPolicy(Qt::ActionsContextMenu);
    ui->lv->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(ui->lv, &QWidget::customContextMenuRequested, this, &frmVars::lv_ContextMenu);
    createRecordWindow();
    connect(&PresentationMode::instance(), &PresentationMode::changed, this, &frmVars::followPresentation);
    connect(&Theme::instance(), &Theme::changed, this, &frmVars::markCurrentLine);
}

// An analysis still running is of no more use: it ends soon, so that
// closing the IDE never waits for it.
frmVars::~frmVars() { m_analysis.request_stop(); }

// Each list at least kShownRows rows high, in the window and docked: the
// height follows the font, so 演示模式 and a large font keep the rows.
void frmVars::giveListsRoom()
{
    for (QTreeWidget* list : {ui->lv, ui->lvCode}) {
        const int row = std::max(list->sizeHintForRow(0), list->fontMetrics().lineSpacing() + kRowPadding);
        const int scrollBar = list->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, list);
        list->setMinimumHeight(list->header()->sizeHint().height() + kShownRows * row + scrollBar +
                               2 * list->frameWidth());
    }
    // Both grow alike beyond that. The window's own minimum (from its form)
    // would let the lists be squeezed.
    ui->windowLayout->setStretchFactor(ui->lv, 1);
    ui->windowLayout->setStretchFactor(ui->lvCode, 1);
    setMinimumHeight(ui->windowLayout->minimumSize().height());
}

void frmVars::nameForScreenReaders()
{
    ui->lv->setAccessibleName(QStringLiteral("变量"));
    ui->lv->setAccessibleDescription(QStringLiteral("变量名、值和类型；● 标出上一次暂停以后改变的变量"));
    ui->lvCode->setAccessibleName(QStringLiteral("程序"));
    ui->lvCode->setAccessibleDescription(
        QStringLiteral("程序的每一行；粗体的是将要运行的行，勾选的是断点。空格键勾选，Ctrl+F8 运行到选中的行"));
}

// The rows' bold fonts are the lists' own: the rows are made again in the new size.
void frmVars::followPresentation()
{
    for (QTreeWidget* list : {ui->lv, ui->lvCode, m_record}) list->setFont(listFont());
    setColumnWidths();
    setControlSizes();
    ui->lv->clear();
    fillVariables();
    markCurrentLine();
}

void frmVars::explainUnendedRun(std::u16string text, std::vector<std::u16string> answers, std::int64_t steps)
{
    if (!m_whyNotEnded) {
        m_whyNotEnded = new QLabel(this);
        m_whyNotEnded->setObjectName(QStringLiteral("lblWhyNotEnded"));
        m_whyNotEnded->setWordWrap(true);
        m_whyNotEnded->setTextInteractionFlags(Qt::TextSelectableByMouse);
        m_whyNotEnded->setAccessibleName(QStringLiteral("程序为什么还没有结束"));
        ui->windowLayout->insertWidget(0, m_whyNotEnded);
    }
    m_whyNotEnded->setText(QStringLiteral("正在分析程序为什么还没有结束……"));
    // The replay takes as long as the run did: never on the window's thread.
    // The pool is waited for when the application ends.
    QThreadPool::globalInstance()->start([window = QPointer<frmVars>(this), text = std::move(text),
                                          answers = std::move(answers), steps, stop = m_analysis.get_token()] {
        QString why;
        for (const std::u16string& sentence : loopDiagnosis(text, answers, steps, stop)) why += toQString(sentence);
        QMetaObject::invokeMethod(qApp, [window, why] {
            if (window && window->m_whyNotEnded) window->m_whyNotEnded->setText(why);
        }, Qt::QueuedConnection);
    });
}

void frmVars::setColumnWidths()
{
    for (int column = 0; column < ui->lv->columnCount(); ++column) {
        ui->lv->setColumnWidth(column, columnWidth(kVariableColumnTwips));
    }
    ui->lvCode->setColumnWidth(kTickColumn, columnWidth(kTickColumnTwips));
    ui->lvCode->setColumnWidth(kLineNumberColumn, columnWidth(kLineNumberColumnTwips));
    ui->lvCode->setColumnWidth(kCodeColumn, columnWidth(kCodeColumnTwips));
}

// The buttons and the status line grow with their text in 演示模式.
void frmVars::setControlSizes()
{
    const PresentationMode& mode = PresentationMode::instance();
    const QSize button(mode.scaled(kButtonSize.width()), mode.scaled(kButtonSize.height()));
    for (QPushButton* command : {ui->cmdAbort, ui->cmdBack, ui->cmdStep, ui->cmdContinue}) command->setFixedSize(button);
    ui->Label1->setFixedHeight(mode.scaled(kStatusHeight));
}

// Variables in the order they were first used, each as the text PRINT
// would show for it; those changed or new since the previous pause marked.
void frmVars::fillVariables()
{
    QList<QTreeWidgetItem*> rows;
    for (const WatchedVariable& variable : m_controller.watchedVariables()) {
        auto* row = new QTreeWidgetItem({toQString(variable.name), toQString(variable.text), QStringLiteral("Double")});
        if (variable.change != ValueChange::Same) markChange(*row, changeTip(variable, m_controller.lookingBack()));
        if (m_controller.changeWatched() == variable.name) row->setText(2, QStringLiteral("Double（值改变时暂停）"));
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
        // A screen reader names the cells by their text, which the tick and an empty line have none of.
        row->setData(kTickColumn, Qt::AccessibleTextRole, QStringLiteral("第%1行的断点").arg(n));
        if (line.empty()) row->setData(kCodeColumn, Qt::AccessibleTextRole, QStringLiteral("空行"));
        rows.append(row);
    }
    ui->lvCode->addTopLevelItems(rows);
    markCurrentLine();
}

// The line about to run in bold and the theme's colour (blue in the light
// one), the one marked before back to normal.
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
    m_currentItem->setForeground(kCodeColumn, Theme::instance().colour(ThemeColour::CurrentLine));
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
    m_backToBreakpoint->setEnabled(m_controller.canStepBack());
    fillRecord();
    fillGosubStack();
    m_watches->refresh();
    emit momentShown();
}

// A tool window of the debugger's: usable while the debugger is modal, and
// gone with it.
void frmVars::createRecordWindow()
{
    m_recordWindow = new QWidget(this, Qt::Tool);
    m_recordWindow->setObjectName(QStringLiteral("recordWindow"));
    m_recordWindow->setWindowTitle(QStringLiteral("执行记录"));
    m_recordWindow->resize(460, 360);
    m_record = new QTreeWidget(m_recordWindow);
    m_record->setObjectName(QStringLiteral("lvRecord"));
    m_record->setAccessibleName(QStringLiteral("执行记录"));
    m_record->setHeaderLabels({QStringLiteral("步"), QStringLiteral("行"), QStringLiteral("变化"), QStringLiteral("输出")});
    m_record->setRootIsDecorated(false);
    m_record->setUniformRowHeights(true);
    m_record->setMinimumHeight(160);
    m_record->setFont(ui->lv->font());
    m_record->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    connect(m_record, &QTreeWidget::itemClicked, this, &frmVars::lvRecord_Click);
    m_gosubStack = new QLabel(m_recordWindow);
    m_gosubStack->setObjectName(QStringLiteral("lblGosub"));
    m_gosubStack->setAccessibleName(QStringLiteral("GOSUB 栈"));
    auto* exportButton = new QPushButton(QStringLiteral("导出跟踪表(&T)"), m_recordWindow);
    exportButton->setObjectName(QStringLiteral("cmdExport"));
    exportButton->setAutoDefault(false);
    exportButton->setToolTip(QStringLiteral("导出跟踪表：把执行记录画成变量跟踪表，复制到剪贴板并保存为 CSV 文件"));
    connect(exportButton, &QPushButton::clicked, this, &frmVars::cmdExport_Click);
    m_backToBreakpoint = new QPushButton(QStringLiteral("退到上一个断点(&B)"), m_recordWindow);
    m_backToBreakpoint->setObjectName(QStringLiteral("cmdBackToBreakpoint"));
    m_backToBreakpoint->setAutoDefault(false);
    m_backToBreakpoint->setToolTip(
        QStringLiteral("退到上一个断点 (Ctrl+Backspace)：沿执行记录往回，停在上一次要执行断点所在的行的时候"));
    m_backToBreakpoint->setEnabled(m_controller.canStepBack());
    connect(m_backToBreakpoint, &QPushButton::clicked, this, &frmVars::cmdBackToBreakpoint_Click);
    connect(new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_Backspace), this), &QShortcut::activated,
            m_backToBreakpoint, &QPushButton::click);
    m_watches = new WatchPanel(m_controller, m_recordWindow);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(m_backToBreakpoint);
    buttons->addStretch(1);
    buttons->addWidget(exportButton);
    auto* layout = new QVBoxLayout(m_recordWindow);
    layout->addWidget(m_record, 1);
    layout->addWidget(m_gosubStack);
    layout->addWidget(m_watches);
    layout->addLayout(buttons);
    exportButton->setEnabled(m_controller.recordedSteps() > 0);
    fillRecord();
    fillGosubStack();
}

// Beside the debugger where the screen has room, else on its left, and
// always whole on the screen.
void frmVars::placeRecordWindow()
{
    const QRect screen = this->screen()->availableGeometry();
    const QSize size = m_recordWindow->frameGeometry().size().expandedTo(m_recordWindow->sizeHint());
    const QRect frame = isWindow() ? frameGeometry() : QRect(mapToGlobal(QPoint(0, 0)), this->size());
    QPoint place = frame.topRight() + QPoint(8, 0);
    if (place.x() + size.width() > screen.right()) place.setX(frame.left() - 8 - size.width());
    place.setX(std::clamp(place.x(), screen.left(), std::max(screen.left(), screen.right() - size.width())));
    place.setY(std::clamp(place.y(), screen.top(), std::max(screen.top(), screen.bottom() - size.height())));
    m_recordWindow->move(place);
    m_recordWindow->show();
}

// The steps around the moment shown; the last one run before it is selected.
void frmVars::fillRecord()
{
    m_record->clear();
    const std::int64_t shown = m_controller.shownStep();
    QList<QTreeWidgetItem*> rows;
    for (const RecordedStep& step : m_controller.record(std::max<std::int64_t>(1, shown - kRecordReach), shown + kRecordReach)) {
        auto* row = new QTreeWidgetItem({QString::number(step.step), QString::number(step.line), changesText(step),
                                         cellText(step.output)});
        row->setData(kStepColumn, Qt::UserRole, QVariant::fromValue<qint64>(step.step));
        rows.append(row);
    }
    m_record->addTopLevelItems(rows);
    for (QTreeWidgetItem* row : rows) {
        if (row->data(kStepColumn, Qt::UserRole).toLongLong() != shown) continue;
        m_record->setCurrentItem(row);
        m_record->scrollToItem(row);
    }
}

// Each GOSUB waiting for its RETURN, the newest last.
void frmVars::fillGosubStack()
{
    QStringList frames;
    const QStringList lines = toQString(m_controller.source()).split(QLatin1Char('\n'));
    for (const std::int32_t line : m_controller.gosubLines()) {
        const std::optional<std::int32_t> after = m_controller.lineAfter(line);
        const QString code = line <= lines.size() ? lines[line - 1].trimmed() : QString();
        frames << QStringLiteral("第%1行 %2 → %3")
                      .arg(line)
                      .arg(code, after ? QStringLiteral("返回到第%1行").arg(*after) : QStringLiteral("返回后程序结束"));
    }
    m_gosubStack->setText(frames.isEmpty() ? QStringLiteral("GOSUB 栈：空")
                                           : QStringLiteral("GOSUB 栈：\n") + frames.join(QLatin1Char('\n')));
}

// Scrolling needs the list's real size, which it has only once shown.
void frmVars::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (m_currentItem) showCurrentLine();
    placeRecordWindow();
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

void frmVars::cmdBackToBreakpoint_Click()
{
    if (m_controller.stepBackToBreakpoint()) {
        showMoment();
        return;
    }
    m_dialogs.showMessage(this, MessageIcon::Warning, QStringLiteral("退到上一个断点"),
                          QStringLiteral("执行记录里，这以前没有执行过断点所在的行。程序仍然停在这里。"));
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

// The row's step done: the moment after it.
void frmVars::lvRecord_Click(QTreeWidgetItem* item)
{
    if (m_controller.showStep(item->data(kStepColumn, Qt::UserRole).toLongLong())) showMoment();
}

// Copied as tab-separated rows (a spreadsheet pastes them as a table) and
// saved as CSV for Excel on a Chinese Windows: UTF-8 with a BOM, CR LF.
void frmVars::cmdExport_Click()
{
    const std::vector<QStringList> table = traceTable(m_controller.record(1, m_controller.recordedSteps()));
    QGuiApplication::clipboard()->setText(joinTable(table, QLatin1Char('\t'), QStringLiteral("\n"), asIs));
    const QString path =
        m_dialogs.saveFileName(this, QStringLiteral("导出跟踪表"), QStringLiteral("CSV 文件 (*.csv);;所有文件 (*)"));
    if (path.isEmpty()) return;
    const QByteArray bytes =
        QByteArray("\xEF\xBB\xBF") + joinTable(table, QLatin1Char(','), QStringLiteral("\r\n"), csvField).toUtf8();
    const FileWriteResult written = writeFileChecked(path, bytes, LinkPolicy::Follow);
    if (written) return;
    m_dialogs.showMessage(this, MessageIcon::Critical, QStringLiteral("导出跟踪表"),
                          QStringLiteral("无法保存 %1：%2。跟踪表已复制到剪贴板，程序仍然暂停。")
                              .arg(QDir::toNativeSeparators(path), written.reason));
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
    // Docked (单窗口布局), the main window keeps the place.
    if (isWindow()) tarnikSettings().setValue(kGeometryKey, saveGeometry());
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

// 值改变时暂停 on the variable under the pointer, or off again.
void frmVars::lv_ContextMenu(const QPoint& point)
{
    const QTreeWidgetItem* row = ui->lv->itemAt(point);
    if (!row) return;
    QString name = row->text(0);
    if (name.startsWith(kChangeMark)) name.remove(0, kChangeMark.size());
    const bool watched = m_controller.changeWatched() == name.toStdU16String();
    QMenu menu(this);
    QAction* change = menu.addAction(QStringLiteral("值改变时暂停"));
    change->setObjectName(QStringLiteral("mnuPauseOnChange"));
    change->setCheckable(true);
    change->setChecked(watched);
    change->setToolTip(QStringLiteral("%1 的值一改变，就在下一条语句之前暂停").arg(name));
    connect(change, &QAction::triggered, this, [this, name, watched] {
        m_controller.pauseOnChange(watched ? std::nullopt : std::optional(name.toStdU16String()));
        ui->lv->clear();
        fillVariables();
    });
    menu.exec(ui->lv->viewport()->mapToGlobal(point));
}

void frmVars::runToSelectedLine()
{
    const QTreeWidgetItem* row = ui->lvCode->currentItem();
    if (!row) return;
    m_controller.runTo(row->text(kLineNumberColumn).toInt());
    done(Continued);
}

void frmVars::lvCode_ItemCheck(QTreeWidgetItem* item, int column)
{
    if (column != kTickColumn) return;
    m_controller.setBreakpoint(item->text(kLineNumberColumn).toInt(), item->checkState(kTickColumn) == Qt::Checked);
}

}  // namespace tarnik
