// Times what a user waits for in the editor on a program of 32767 lines,
// with the colouring and the line-number gutter on:
//   - opening the program file, until the window has painted its text;
//   - the first rewrite after loading, which looks at every line once;
//   - a keystroke (a letter), Enter with its indentation aid, and a caret
//     move to another line together with the rewrite it starts, each with
//     the events it causes (highlighting, layout, painting).
// Prints the median, the 99th percentile and the worst of each.
// Runs on the offscreen platform unless QT_QPA_PLATFORM says otherwise.
//   editor_bench
#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QPlainTextEdit>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <functional>
#include <memory>
#include <vector>

#include "ui/editor/EditorEdits.h"
#include "ui/QtDialogs.h"
#include "ui/frmMain.h"

namespace {

constexpr int kLines = 32767;
constexpr int kSamples = 300;
constexpr int kOpenings = 5;

struct Timing {
    double median = 0;
    double p99 = 0;
    double worst = 0;
};

Timing summarise(std::vector<double> times)
{
    std::sort(times.begin(), times.end());
    const auto p99 = static_cast<std::size_t>(std::ceil(0.99 * static_cast<double>(times.size()))) - 1;
    return {times[times.size() / 2], times[p99], times.back()};
}

double millisecondsOf(const std::function<void()>& step)
{
    QElapsedTimer clock;
    clock.start();
    step();
    return static_cast<double>(clock.nsecsElapsed()) / 1e6;
}

Timing measure(int samples, const std::function<void()>& prepare, const std::function<void()>& step)
{
    std::vector<double> times;
    for (int i = 0; i < samples; ++i) {
        prepare();
        times.push_back(millisecondsOf(step));
    }
    return summarise(std::move(times));
}

void report(const char* what, Timing timing)
{
    std::printf("%-48s median %8.2f ms   p99 %8.2f ms   worst %8.2f ms\n", what, timing.median, timing.p99,
                timing.worst);
}

// Blocks of every kind, in the normal form, nested as a beginner's program is;
// 32767 lines exactly.
QByteArray program()
{
    const QByteArray block = "For i = 1 To 10\n    If i Mod 2 = 0 Then\n        Print \"偶数\"; i ' 注释\n"
                             "    Else\n        s = s + i * 2\n    End If\nNext\n";
    QByteArray text;
    int lines = 0;
    while (lines + 7 <= kLines) {
        text += block;
        lines += 7;
    }
    for (; lines < kLines; ++lines) text += "x = x + 1\n";
    text.chop(1);
    return text;
}

// Paints of the editor's text area, counted so that opening can wait for one.
class PaintCounter : public QObject {
public:
    int paints = 0;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Paint) ++paints;
        return QObject::eventFilter(watched, event);
    }
};

Timing timeOpening(tarnik::QtDialogs& dialogs, const QString& file)
{
    std::vector<double> times;
    for (int i = 0; i < kOpenings; ++i) {
        tarnik::frmMain window(dialogs);
        PaintCounter counter;
        window.findChild<QPlainTextEdit*>(QStringLiteral("txtSource"))->viewport()->installEventFilter(&counter);
        times.push_back(millisecondsOf([&] {
            window.openCommandLineFile(file);
            window.show();
            while (counter.paints == 0) QCoreApplication::processEvents();
        }));
        window.hide();
    }
    return summarise(std::move(times));
}

void caretToLine(QPlainTextEdit& editor, int line)
{
    editor.setTextCursor(QTextCursor(editor.document()->findBlockByNumber(line - 1)));
}

void keyAndEvents(QPlainTextEdit& editor, Qt::Key key)
{
    QTest::keyClick(&editor, key);
    QCoreApplication::processEvents();
}

void timeEditing(QPlainTextEdit& editor)
{
    caretToLine(editor, 1);
    report("first rewrite after loading (every line)", measure(1, [] {}, [&] {
        tarnik::reformatAroundCaret(editor);
        QCoreApplication::processEvents();
    }));

    caretToLine(editor, kLines / 2);
    editor.ensureCursorVisible();
    report("keystroke (a letter)", measure(kSamples, [] {}, [&] { keyAndEvents(editor, Qt::Key_A); }));
    report("Enter with the indentation aid", measure(kSamples, [] {}, [&] { keyAndEvents(editor, Qt::Key_Return); }));

    // Each sample: a line typed in, then the caret goes down a line and the
    // rewrite that the move starts runs (the timer that starts it is left out).
    int line = kLines / 4;
    report("caret to another line, with the rewrite", measure(
        kSamples,
        [&] {
            caretToLine(editor, line += 3);
            QTest::keyClicks(&editor, QStringLiteral("y=y+1 "));
            QCoreApplication::processEvents();
        },
        [&] {
            keyAndEvents(editor, Qt::Key_Down);
            tarnik::reformatAroundCaret(editor);
            QCoreApplication::processEvents();
        }));
}

}  // namespace

int main(int argc, char* argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    // The timings open files; the user's own recent files stay as they are.
    QTemporaryDir dir;
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, dir.path());
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, dir.path());
    const QString file = dir.filePath(QStringLiteral("long.tnk"));
    QFile out(file);
    if (!out.open(QIODevice::WriteOnly) || out.write(program()) < 0) return 1;
    out.close();

    tarnik::QtDialogs dialogs;
    report("opening the file, until the text is painted", timeOpening(dialogs, file));

    tarnik::frmMain window(dialogs);
    window.openCommandLineFile(file);
    window.show();
    QCoreApplication::processEvents();
    auto* editor = window.findChild<QPlainTextEdit*>(QStringLiteral("txtSource"));
    if (editor->blockCount() != kLines) return 1;
    timeEditing(*editor);
    return 0;
}
