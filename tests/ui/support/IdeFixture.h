#pragma once
// A fresh editor window per test, with scripted dialogs, a temporary folder
// for files and empty placement settings; plus helpers to reach its controls
// by their names.
#include <gtest/gtest.h>

#include <QAction>
#include <QPlainTextEdit>
#include <QString>
#include <QTemporaryDir>
#include <functional>
#include <memory>
#include <ostream>

#include "support/ScriptedDialogs.h"
#include "interp/ProgramState.h"
#include "ui/frmMain.h"

// Readable QStrings in GoogleTest's messages and failed comparisons.
inline std::ostream& operator<<(std::ostream& out, const QString& text)
{
    return out << '"' << text.toStdString() << '"';
}

namespace tarnik::test {

// Processes events until `condition` holds; false when it has not after a
// long while. The time-out only keeps a failing test from hanging: a loaded
// machine may be slow, and a test checks what happens, not how fast.
bool waitFor(const std::function<bool()>& condition);

void writeFile(const QString& path, const QByteArray& bytes);
[[nodiscard]] QByteArray readFile(const QString& path);

class IdeFixture : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Replaces the window by a new one, as a new start of the program would.
    void restartWindow();

    [[nodiscard]] QPlainTextEdit& editor();
    [[nodiscard]] QAction& action(const char* name);
    [[nodiscard]] QMainWindow& console();
    [[nodiscard]] QAction& consoleAction(const char* name);
    [[nodiscard]] QPlainTextEdit& consoleBox();
    [[nodiscard]] QString consoleText();
    [[nodiscard]] QString statusLine();
    // The status bar's encoding and line ends of the file.
    [[nodiscard]] QString fileFormat();
    // True when the title timer has shown `expected`.
    [[nodiscard]] bool titleBecomes(const QString& expected);
    [[nodiscard]] QString path(const QString& name) const;
    // The editor text with line ends as the editor's own text model (CR LF).
    [[nodiscard]] QString editorText();
    void setEditorText(const QString& lfText);
    void openCommandLine(const QString& path) { window->openCommandLineFile(path); }
    void run() { action("mnuStart").trigger(); }
    // The state of the window's run in progress, or of its last one.
    [[nodiscard]] const ProgramState& runState() const;

    ScriptedDialogs dialogs;
    std::unique_ptr<frmMain> window;
    QTemporaryDir dir;
};

}  // namespace tarnik::test
