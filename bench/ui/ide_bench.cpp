// Times what the user waits for in the IDE:
//   - the rewrite of a 5000-line program after the caret moved to another
//     line, when every line changes and when none does;
//   - a keystroke in that program, typed and with the Enter aid;
//   - the longest the event loop waits while a program prints without end,
//     with and without line ends, until End on the console stops it;
//   - optionally, running a program file from the editor (Start), to set
//     against `tarnik-cli run` of the same file; with --run-only, that alone,
//     more often.
// Runs on the offscreen platform unless QT_QPA_PLATFORM says otherwise.
//   ide_bench [PROGRAM.bas]
//   ide_bench --run-only PROGRAM.bas
#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QPlainTextEdit>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <functional>
#include <utility>
#include <vector>

#include "ui/editor/EditorEdits.h"
#include "ui/QtDialogs.h"
#include "ui/frmMain.h"

namespace {

constexpr int kLines = 5000;
constexpr int kRepeats = 20;
constexpr int kRunawayMs = 1500;

struct Timing {
    double median = 0;
    double worst = 0;
};

Timing summarise(std::vector<double> times)
{
    std::sort(times.begin(), times.end());
    return {times[times.size() / 2], times.back()};
}

// Milliseconds of `step`, over `repeats` runs, each after `prepare`.
Timing measure(int repeats, const std::function<void()>& prepare, const std::function<void()>& step)
{
    std::vector<double> times;
    for (int i = 0; i < repeats; ++i) {
        prepare();
        QElapsedTimer clock;
        clock.start();
        step();
        times.push_back(static_cast<double>(clock.nsecsElapsed()) / 1e6);
    }
    return summarise(std::move(times));
}

void report(const char* what, Timing timing)
{
    std::printf("%-52s median %8.2f ms   worst %8.2f ms\n", what, timing.median, timing.worst);
}

// A program of nested blocks, as a beginner would type it: lower case, no
// blanks around operators.
QString sloppyProgram()
{
    QString text;
    for (int i = 0; i < kLines / 5; ++i) {
        text += QStringLiteral("FOR i=1 TO 10\n    IF i MOD 2=0 THEN\n        PRINT \"Even\";i\n    END IF\nNEXT\n");
    }
    return text;
}

void caretToLine(QPlainTextEdit& editor, int line)
{
    editor.setTextCursor(QTextCursor(editor.document()->findBlockByNumber(line - 1)));
}

// The rewrite itself plus the events it causes (layout, repaint).
void rewriteAndSettle(QPlainTextEdit& editor)
{
    tarnik::reformatAroundCaret(editor);
    QCoreApplication::processEvents();
}

void timeEditor(QPlainTextEdit& editor)
{
    const QString sloppy = sloppyProgram();
    editor.setPlainText(sloppy);
    tarnik::reformatAroundCaret(editor);
    const QString normal = editor.toPlainText();

    report("rewrite, 5000 lines, every line changes", measure(
        5, [&] { editor.setPlainText(sloppy); caretToLine(editor, kLines / 2); }, [&] { rewriteAndSettle(editor); }));
    report("rewrite, 5000 lines, already in normal form", measure(
        kRepeats, [&] { editor.setPlainText(normal); caretToLine(editor, kLines / 2); },
        [&] { rewriteAndSettle(editor); }));
    editor.setPlainText(normal);
    int line = 1;
    report("rewrite, 5000 lines, one line typed in", measure(
        kRepeats,
        [&] {
            caretToLine(editor, ++line);
            QTest::keyClicks(&editor, QStringLiteral("x=x+1"));
            caretToLine(editor, line + 1000);
        },
        [&] { rewriteAndSettle(editor); }));

    caretToLine(editor, kLines / 2);
    report("keystroke (a letter), 5000 lines", measure(
        100, [] {}, [&] {
            QTest::keyClick(&editor, Qt::Key_A);
            QCoreApplication::processEvents();
        }));
    report("keystroke (Enter, with the aid), 5000 lines", measure(
        100, [] {}, [&] {
            QTest::keyClick(&editor, Qt::Key_Return);
            QCoreApplication::processEvents();
        }));
}

QAction* consoleEnd()
{
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (widget->objectName() == QLatin1String("frmResult")) {
            return widget->findChild<QAction*>(QStringLiteral("结束"));
        }
    }
    return nullptr;
}

// Milliseconds of the longest time the event loop went without running a
// 10 ms timer while the editor's program ran, until End after kRunawayMs.
double longestEventWait(tarnik::frmMain& window)
{
    QElapsedTimer clock;
    qint64 lastTick = 0;
    qint64 longest = 0;
    QTimer ticker;
    QObject::connect(&ticker, &QTimer::timeout, [&] {
        longest = std::max(longest, clock.elapsed() - lastTick);
        lastTick = clock.elapsed();
    });
    QTimer::singleShot(0, &window, [&] {
        clock.start();
        ticker.start(10);
    });
    QTimer::singleShot(kRunawayMs, &window, [] { consoleEnd()->trigger(); });
    window.findChild<QAction*>(QStringLiteral("mnuStart"))->trigger();
    return static_cast<double>(longest);
}

void timeRunawayOutput(tarnik::frmMain& window, QPlainTextEdit& editor)
{
    const std::pair<const char*, QString> loops[] = {
        {"event loop's longest wait, PRINT loop", QStringLiteral("do while 1 = 1\n    print i\n    i = i + 1\nloop")},
        {"event loop's longest wait, PRINT loop without ends",
         QStringLiteral("do while 1 = 1\n    print \"x\";\nloop")},
    };
    for (const auto& [what, program] : loops) {
        editor.setPlainText(program);
        std::vector<double> waits;
        for (int i = 0; i < 3; ++i) waits.push_back(longestEventWait(window));
        report(what, summarise(std::move(waits)));
    }
}

void timeRun(tarnik::frmMain& window, const QString& file, int repeats)
{
    window.openCommandLineFile(file);
    QAction* start = window.findChild<QAction*>(QStringLiteral("mnuStart"));
    const Timing run = measure(repeats, [] {}, [&] { start->trigger(); });
    std::printf("%-52s median %8.0f ms   worst %8.0f ms\n", "Start of the program file", run.median, run.worst);
}

}  // namespace

int main(int argc, char* argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    // Start opens a file; the user's own settings and recent files stay as they are.
    QTemporaryDir settingsDir;
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settingsDir.path());
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, settingsDir.path());
    tarnik::QtDialogs dialogs;
    tarnik::frmMain window(dialogs);
    window.show();
    if (argc > 2 && qstrcmp(argv[1], "--run-only") == 0) {
        timeRun(window, QString::fromLocal8Bit(argv[2]), 11);
        return 0;
    }
    auto* editor = window.findChild<QPlainTextEdit*>(QStringLiteral("txtSource"));
    timeEditor(*editor);
    timeRunawayOutput(window, *editor);
    if (argc > 1) timeRun(window, QString::fromLocal8Bit(argv[1]), 3);
    return 0;
}
