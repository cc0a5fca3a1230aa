#include "support/IdeFixture.h"

#include <QApplication>
#include <QDir>
#include <QStandardPaths>
#include <QFile>
#include <QLabel>
#include <QSettings>
#include <QTest>

#include "interp/ProgramState.h"
#include "ui/storage/TarnikSettings.h"
#include "ui/EditorText.h"

namespace tarnik::test {

namespace {

constexpr int kPatienceMs = 10000;

}  // namespace

namespace {

// The window of the test that is running: waiting ticks it, as its timers would.
frmMain* tickedWindow = nullptr;

}  // namespace

bool waitFor(const std::function<bool()>& condition)
{
    return QTest::qWaitFor([&] {
        if (tickedWindow != nullptr) tickedWindow->tick();
        return condition();
    }, kPatienceMs);
}

void writeFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly)) << path.toStdString();
    file.write(bytes);
}

QByteArray readFile(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return {};
    return file.readAll();
}

void IdeFixture::SetUp()
{
    ASSERT_TRUE(dir.isValid());
    tarnikSettings().clear();
    // The data folder is a temporary one (see UiTestMain.cpp); each test
    // starts with it empty.
    const QString data = QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation);
    const QString temporaryData = qEnvironmentVariable("XDG_DATA_HOME");
    ASSERT_FALSE(temporaryData.isEmpty());
    ASSERT_TRUE(data.startsWith(temporaryData + QLatin1Char('/'))) << data.toStdString();
    QDir(data).removeRecursively();
    restartWindow();
}

void IdeFixture::TearDown()
{
    tickedWindow = nullptr;
    window.reset();
    EXPECT_TRUE(dialogs.answers.empty()) << "unused answers to the save question";
    EXPECT_TRUE(dialogs.choices.empty()) << "unused answers to choice questions";
    EXPECT_TRUE(dialogs.openNames.empty()) << "unused Open dialog answers";
    EXPECT_TRUE(dialogs.saveNames.empty()) << "unused Save As dialog answers";
    EXPECT_TRUE(dialogs.inputs.empty()) << "unused INPUT answers";
}

void IdeFixture::restartWindow()
{
    tickedWindow = nullptr;
    window.reset();
    window = std::make_unique<frmMain>(dialogs);
    window->stopTimersForTests();
    tickedWindow = window.get();
    window->show();
}

QPlainTextEdit& IdeFixture::editor()
{
    auto* editor = window->findChild<QPlainTextEdit*>(QStringLiteral("txtSource"));
    EXPECT_NE(editor, nullptr);
    return *editor;
}

QAction& IdeFixture::action(const char* name)
{
    auto* found = window->findChild<QAction*>(QLatin1String(name));
    EXPECT_NE(found, nullptr) << name;
    return *found;
}

QMainWindow& IdeFixture::console()
{
    // A window of its own, or docked in the editor window (单窗口布局).
    for (QWidget* widget : QApplication::allWidgets()) {
        if (widget->objectName() == QLatin1String("frmResult")) return *qobject_cast<QMainWindow*>(widget);
    }
    ADD_FAILURE() << "no console window";
    return *window;
}

QAction& IdeFixture::consoleAction(const char* name)
{
    auto* found = console().findChild<QAction*>(QString::fromUtf8(name));
    EXPECT_NE(found, nullptr) << name;
    return *found;
}

QPlainTextEdit& IdeFixture::consoleBox()
{
    return *console().findChild<QPlainTextEdit*>(QStringLiteral("txtResult"));
}

QString IdeFixture::consoleText()
{
    return consoleBox().toPlainText();
}

QString IdeFixture::statusLine()
{
    return window->findChild<QLabel*>(QStringLiteral("sbLineNumber"))->text();
}

QString IdeFixture::fileFormat()
{
    return window->findChild<QLabel*>(QStringLiteral("sbFileFormat"))->text();
}

const ProgramState& IdeFixture::runState() const
{
    static const ProgramState noRunYet;
    const ProgramState* state = window->runController().state();
    EXPECT_NE(state, nullptr) << "no run has started";
    return state != nullptr ? *state : noRunYet;
}

bool IdeFixture::titleBecomes(const QString& expected)
{
    return waitFor([&] { return window->windowTitle() == expected; });
}

QString IdeFixture::path(const QString& name) const
{
    return dir.filePath(name);
}

QString IdeFixture::editorText()
{
    return toQString(crLfText(editor()));
}

void IdeFixture::setEditorText(const QString& lfText)
{
    editor().setPlainText(lfText);
}

}  // namespace tarnik::test
