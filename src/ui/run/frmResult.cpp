#include "ui/run/frmResult.h"

#include <QCloseEvent>
#include <QClipboard>
#include <QCoreApplication>
#include <QDir>
#include <QGuiApplication>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

#include "ui/storage/CheckedFileWriter.h"
#include "ui/TextZoom.h"
#include "ui/Theme.h"
#include "ui/Twips.h"
#include "ui/Dialogs.h"
#include "ui/EditorText.h"
#include "ui/run/frmVars.h"
#include "ui_frmResult.h"

namespace tarnik {
namespace {

// A simple statement takes tens of nanoseconds, about what reading the clock
// costs; the clock is read once per this many statements.
constexpr int kStatementsPerClockCheck = 256;
// How long a run may go without processing events: short enough that End,
// Pause and typing feel immediate, long enough that repainting the console
// does not slow a printing program down.
constexpr qint64 kEventIntervalMs = 5;
// A printing program makes output faster than the box can take it in: a few
// milliseconds' worth of PRINTs takes a quarter of a second to add. So the
// output goes in in pieces of about this size, events processed after each.
constexpr qsizetype kMaxPendingOutput = 16384;
constexpr qsizetype kLongestLine = 4096;
// Dropping output goes down to this share of the limits, so that it happens
// once per many thousand lines rather than with every line.
constexpr int kKeptLines = frmResult::kMaxLines / 4 * 3;
constexpr qsizetype kKeptCharacters = frmResult::kMaxCharacters / 4 * 3;

constexpr int kTimer1IntervalMs = 200;
constexpr QSize kInitialClientSize{pixelsFromTwips(7185), pixelsFromTwips(3210)};

// A program's output reads as a terminal's, light on dark, in every theme.
void paintConsole(QPlainTextEdit& box)
{
    const Theme& theme = Theme::instance();
    QPalette palette = box.palette();
    palette.setColor(QPalette::Base, theme.colour(ThemeColour::ConsoleBase));
    palette.setColor(QPalette::Text, theme.colour(ThemeColour::ConsoleText));
    palette.setColor(QPalette::Highlight, theme.colour(ThemeColour::ConsoleSelection));
    palette.setColor(QPalette::HighlightedText, theme.colour(ThemeColour::ConsoleText));
    box.setPalette(palette);
}

}  // namespace

frmResult::frmResult(Dialogs& dialogs, RunController& controller, TextZoom& zoom)
    : ui(std::make_unique<Ui::frmResult>()), m_dialogs(dialogs), m_controller(controller)
{
    ui->setupUi(this);
    ui->txtResult->setAccessibleName(QStringLiteral("控制台输出"));
    ui->txtResult->setAccessibleDescription(QStringLiteral("程序用 PRINT 输出的文字，最新的一行在最后"));
    zoom.attach(*ui->txtResult);
    zoom.addCommands(*this);
    paintConsole(*ui->txtResult);
    connect(&Theme::instance(), &Theme::changed, ui->txtResult, [this] { paintConsole(*ui->txtResult); });
    resize(kInitialClientSize.width(), kInitialClientSize.height() + menuBar()->sizeHint().height());

    connect(ui->暂停, &QAction::triggered, this, &frmResult::暂停_Click);
    connect(ui->结束, &QAction::triggered, this, &frmResult::结束_Click);
    connect(ui->mnuConsoleCopy, &QAction::triggered, this, &frmResult::copyOutput);
    connect(ui->mnuConsoleSave, &QAction::triggered, this, &frmResult::saveOutput);
    connect(ui->mnuConsoleClear, &QAction::triggered, this, &frmResult::Clear);
    connect(&Timer1, &QTimer::timeout, this, &frmResult::Timer1_Timer);
    Timer1.start(kTimer1IntervalMs);
    m_sinceEvents.start();
}

frmResult::~frmResult() = default;

void frmResult::yield()
{
    if (!m_sinceEvents.hasExpired(kEventIntervalMs) && m_pendingOutput.size() < kMaxPendingOutput) return;
    flushOutput();
    // End, the close box and the main window's close all hide this window
    // in here; the executor asks consoleVisible() right after this returns.
    QCoreApplication::processEvents();
    m_sinceEvents.start();
}

// Only processing events can hide this window or switch the run to stepping,
// and that happens in yield() and in the modal windows, after which the run
// asks again; the statements in between need neither call.
std::int64_t frmResult::quietStatements()
{
    return kStatementsPerClockCheck - 1;
}

bool frmResult::consoleVisible()
{
    return isVisible();
}

// The run waits in here until the debugger window closes. Abort ends the
// run by hiding this window, like End.
void frmResult::StopWindow()
{
    flushOutput();
    frmVars debugger(m_controller, m_dialogs);
    m_debugger = &debugger;
    connect(&debugger, &frmVars::momentShown, this, &frmResult::followDebugger);
    if (m_controller.lookingBack()) followDebugger();  // the run paused looking back at an earlier moment
    if (std::exchange(m_pausedByUser, false)) {
        std::vector<std::u16string> answers;
        for (const QString& answer : m_answersGiven) answers.push_back(answer.toStdU16String());
        debugger.explainUnendedRun(std::u16string(m_controller.source()), std::move(answers), m_controller.shownStep());
    }
    emit debuggerOpened(debugger);
    const int choice = debugger.exec();
    m_debugger = nullptr;
    showLiveText();
    if (choice == frmVars::Aborted) hide();
}

void frmResult::followDebugger()
{
    if (m_controller.lookingBack()) {
        showPastText(toQString(m_controller.shownConsole()));
    } else {
        showLiveText();
    }
}

void frmResult::showPastText(const QString& text)
{
    if (!m_liveText) m_liveText = ui->txtResult->toPlainText();
    QString past = QString(text).replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    // Bounded as the live box is: the newest output, below the notice.
    if (past.size() > kMaxCharacters) past = kOmittedNotice.toString() + QLatin1Char('\n') + past.right(kMaxCharacters);
    ui->txtResult->setPlainText(past);
    ui->txtResult->moveCursor(QTextCursor::End);
}

void frmResult::showLiveText()
{
    if (!m_liveText) return;
    ui->txtResult->setPlainText(*m_liveText);
    m_liveText.reset();
    ui->txtResult->moveCursor(QTextCursor::End);
}

void frmResult::Append(std::u16string_view text)
{
    m_pendingOutput.append(QStringView(text.data(), static_cast<qsizetype>(text.size())));
}

std::optional<std::u16string> frmResult::InputWindow(std::u16string_view info)
{
    // The executor echoes the answer, so a prepared one shows as if typed.
    std::optional<QString> answer;
    if (m_preparedAnswers.empty()) {
        answer = askWithTheBox(info);
    } else {
        answer = std::move(m_preparedAnswers.front());
        m_preparedAnswers.pop_front();
    }
    if (!answer) return std::nullopt;
    m_answersGiven.append(*answer);
    return answer->toStdU16String();
}

std::optional<QString> frmResult::askWithTheBox(std::u16string_view info)
{
    flushOutput();
    // The box repeats the question, since the console may be far away: what
    // the INPUT statement printed (its own line is ended by now), else what a
    // PRINT ending in ; left on the console's last line.
    const QString question = m_inputQuestion.isEmpty() ? ui->txtResult->document()->lastBlock().text() : m_inputQuestion;
    InputPrompt prompt{toQString(info), question, true, {}};
    prompt.stop = [this] { 结束_Click(); };
    std::optional<QString> answer;
    while (!answer || answer->isEmpty()) {
        // Hiding the console while the box is open (End, the close box)
        // aborts the run: no answer, and the executor ends it quietly.
        if (!isVisible()) return std::nullopt;
        answer = m_dialogs.inputText(this, QStringLiteral("数据输入"), prompt);
    }
    return answer;
}

QString frmResult::outputText()
{
    flushOutput();
    return ui->txtResult->toPlainText();
}

void frmResult::Clear()
{
    m_answersGiven.clear();
    m_pendingOutput.clear();
    m_lastLineLength = 0;
    m_omitted = false;
    ui->txtResult->clear();
}

void frmResult::showConsole()
{
    show();
    raise();
    activateWindow();
}

void frmResult::setCaption(std::u16string_view caption)
{
    flushOutput();
    setWindowTitle(toQString(caption));
}

// Closing only hides the console, which ends a run; a paused run's debugger
// window goes with it.
void frmResult::closeEvent(QCloseEvent* event)
{
    hide();
    event->ignore();
    if (m_debugger) m_debugger->close();
}

void frmResult::暂停_Click()
{
    m_pausedByUser = true;
    m_controller.pauseBeforeNextLine();
}

void frmResult::结束_Click()
{
    hide();
}

void frmResult::copyOutput()
{
    flushOutput();
    if (ui->txtResult->textCursor().hasSelection()) {
        ui->txtResult->copy();
    } else {
        QGuiApplication::clipboard()->setText(ui->txtResult->toPlainText());
    }
}

// Written whole or not at all: a failed save leaves an existing file as it was.
void frmResult::saveOutput()
{
    const QString output = outputText();
    const QString path = m_dialogs.saveFileName(this, QStringLiteral("保存控制台输出"),
                                                QStringLiteral("文本文件 (*.txt);;所有文件 (*)"));
    if (path.isEmpty()) return;
    const FileWriteResult written = writeFileChecked(path, output.toUtf8(), LinkPolicy::Follow);
    if (written) return;
    m_dialogs.showMessage(this, MessageIcon::Critical, QStringLiteral("保存控制台输出"),
                          QStringLiteral("无法保存 %1：%2。控制台中的输出仍然保留。")
                              .arg(QDir::toNativeSeparators(path), written.reason));
}

void frmResult::Timer1_Timer()
{
    ui->暂停->setEnabled(!windowTitle().contains(QStringLiteral("中止")));
}

// Adds the buffered output at the end of the box, without touching what is
// already there, and leaves the caret after it so the newest line is in view.
void frmResult::flushOutput()
{
    if (m_pendingOutput.isEmpty()) return;
    // Each CR LF would otherwise make two blocks, an empty line between.
    m_pendingOutput.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    breakLongLines();
    if (m_pendingOutput.size() > kKeptCharacters) {
        // Everything in the box would be dropped right away, and most of
        // this batch with it: only its newest lines go in.
        const qsizetype lineEnd = m_pendingOutput.indexOf(QLatin1Char('\n'), m_pendingOutput.size() - kKeptCharacters);
        m_pendingOutput.remove(0, lineEnd < 0 ? m_pendingOutput.size() - kKeptCharacters : lineEnd + 1);
        ui->txtResult->clear();
        m_omitted = false;
        showOmittedNotice();
    }
    QTextCursor end(ui->txtResult->document());
    end.movePosition(QTextCursor::End);
    end.insertText(m_pendingOutput);
    m_pendingOutput.clear();
    dropOldestOutput();
    ui->txtResult->moveCursor(QTextCursor::End);
    announceNewestLine();
}

// The newest line with text: a PRINT's line ends before the next one begins.
void frmResult::announceNewestLine()
{
    for (QTextBlock line = ui->txtResult->document()->lastBlock(); line.isValid(); line = line.previous()) {
        if (line.text().trimmed().isEmpty()) continue;
        emit lineShown(line.text());
        return;
    }
}

// Keeps the box's memory and the cost of its layout bounded however long a
// program prints: past either limit, the oldest lines go, below the notice.
void frmResult::dropOldestOutput()
{
    QTextDocument& document = *ui->txtResult->document();
    if (document.blockCount() <= kMaxLines && document.characterCount() <= kMaxCharacters) return;
    const QTextBlock first = m_omitted ? document.firstBlock().next() : document.firstBlock();
    QTextBlock kept = first;
    int lines = document.blockCount();
    qsizetype characters = document.characterCount();
    while ((lines > kKeptLines || characters > kKeptCharacters) && kept.next().isValid()) {
        --lines;
        characters -= kept.length();
        kept = kept.next();
    }
    QTextCursor dropped(&document);
    dropped.setPosition(first.position());
    dropped.setPosition(kept.position(), QTextCursor::KeepAnchor);
    dropped.removeSelectedText();
    showOmittedNotice();
}

void frmResult::showOmittedNotice()
{
    if (m_omitted) return;
    QTextCursor top(ui->txtResult->document());
    top.insertText(kOmittedNotice.toString() + QLatin1Char('\n'));
    m_omitted = true;
}

// The box lays a line out anew each time text is added to it, at a cost that
// grows with the line's length; a program that prints without ever ending a
// line would slow the IDE down more and more. So a console line goes on on a
// new line after kLongestLine characters, as in a terminal.
void frmResult::breakLongLines()
{
    QString broken;
    qsizetype copied = 0;
    for (qsizetype i = 0; i < m_pendingOutput.size(); ++i) {
        if (m_pendingOutput[i] == QLatin1Char('\n')) {
            m_lastLineLength = 0;
            continue;
        }
        if (m_lastLineLength == kLongestLine) {
            broken += QStringView(m_pendingOutput).mid(copied, i - copied);
            broken += QLatin1Char('\n');
            copied = i;
            m_lastLineLength = 0;
        }
        ++m_lastLineLength;
    }
    if (copied == 0) return;
    broken += QStringView(m_pendingOutput).mid(copied);
    m_pendingOutput = broken;
}

}  // namespace tarnik
