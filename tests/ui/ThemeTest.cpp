// 视图 → 主题 and 演示模式 reach every window that is open: the editor, the
// console, the debugger of a paused run, the test results and the reference
// change their colours with the theme and their sizes with the presentation
// factor, and come back when it is switched off; the pupil's zoom stays.
#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QScreen>
#include <QStyle>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextLayout>
#include <QToolBar>
#include <QTreeWidget>
#include <algorithm>
#include <cmath>

#include "support/DebuggerScript.h"
#include "support/IdeFixture.h"
#include "ui/PresentationMode.h"
#include "ui/TextZoom.h"
#include "ui/Theme.h"
#include "ui/editor/SourceEditor.h"
#include "ui/help/ReferenceBrowser.h"
#include "ui/help/ReferenceWindow.h"
#include "ui/storage/TarnikSettings.h"

namespace tarnik::test {
namespace {

// A program that prints 8 where its case expects 9, so the test results
// mark a differing line.
class ClassroomLook : public IdeFixture {
protected:
    void SetUp() override
    {
        IdeFixture::SetUp();
        writeFile(path(QStringLiteral("double.tnk")), "a = 4\r\nprint a * 2\r\n");
        ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("double.tests")));
        writeFile(path(QStringLiteral("double.tests/wrong.out")), "9\n");
        openCommandLine(path(QStringLiteral("double.tnk")));
    }
    // The look is the application's: the next test starts from the usual one.
    void TearDown() override
    {
        Theme::instance().choose(ThemeChoice::System);
        PresentationMode::instance().setOn(false);
        IdeFixture::TearDown();
    }

    QDialog& testResults()
    {
        action("mnuRunTests").trigger();
        auto* results = window->findChild<QDialog*>(QStringLiteral("dlgTestResults"));
        EXPECT_NE(results, nullptr);
        return *results;
    }
    ReferenceWindow& reference()
    {
        action("mnuHelpReference").trigger();
        auto* reference = window->findChild<ReferenceWindow*>();
        EXPECT_NE(reference, nullptr);
        return *reference;
    }
    QToolBar& toolBar() { return *window->findChild<QToolBar*>(QStringLiteral("tbToolBar")); }
};

// The colour of the PRINT that starts the program's second line.
QColor keywordColour(QPlainTextEdit& editor)
{
    const QTextBlock second = editor.document()->findBlockByNumber(1);
    for (const QTextLayout::FormatRange& range : second.layout()->formats()) {
        if (range.start == 0) return range.format.foreground().color();
    }
    return {};
}

// The uppermost tint of the line (the paused line's lies over the caret line's).
QColor tintOf(const QPlainTextEdit& box, int line)
{
    QColor tint;
    for (const QTextEdit::ExtraSelection& mark : box.extraSelections()) {
        if (mark.cursor.blockNumber() + 1 == line) tint = mark.format.background().color();
    }
    return tint;
}

// Qt hands a new application palette to the widgets through the event loop.
bool takesPaletteOf(QWidget& widget, QPalette::ColorRole role)
{
    return waitFor([&] { return widget.palette().color(role) == QApplication::palette().color(role); });
}

struct ThemeCase {
    const char* command;
    ColourSet set;
    bool darkWindows;
};

const ThemeCase kThemes[] = {
    {"mnuViewThemeDark", ColourSet::Dark, true},
    {"mnuViewThemeHighContrast", ColourSet::HighContrast, true},
    {"mnuViewThemeLight", ColourSet::Light, false},
    {"mnuViewThemeSystem", ColourSet::Light, false},  // the offscreen platform's palette is a light one
};

// Each theme is chosen while every window is open, the debugger's among them.
TEST_F(ClassroomLook, EveryOpenWindowTakesTheColoursOfTheThemeChosen)
{
    const QPalette usual = QApplication::palette();
    QPlainTextEdit& expected = *testResults().findChild<QPlainTextEdit*>(QStringLiteral("txtExpected"));
    ASSERT_TRUE(tintOf(expected, 1).isValid()) << "the differing line is marked";
    ReferenceBrowser& browser = reference().browser();
    DebuggerScript script({[&](QDialog& debugger) {
        for (const ThemeCase& c : kThemes) {
            SCOPED_TRACE(c.command);
            action(c.command).trigger();
            EXPECT_TRUE(action(c.command).isChecked());
            EXPECT_EQ(QApplication::palette().color(QPalette::Window).lightness() < 128, c.darkWindows);
            EXPECT_TRUE(takesPaletteOf(debugger, QPalette::Window));
            EXPECT_TRUE(takesPaletteOf(editor(), QPalette::Base));
            EXPECT_TRUE(takesPaletteOf(browser, QPalette::Base));
            EXPECT_EQ(keywordColour(editor()), tokenColour(LineStretchKind::Keyword, c.set));
            EXPECT_EQ(tintOf(editor(), 1), themeColour(ThemeColour::PausedLine, c.set));
            EXPECT_EQ(consoleBox().palette().color(QPalette::Base), themeColour(ThemeColour::ConsoleBase, c.set));
            EXPECT_EQ(consoleBox().palette().color(QPalette::Text), themeColour(ThemeColour::ConsoleText, c.set));
            EXPECT_EQ(codeRow(debugger, 1)->foreground(2).color(), themeColour(ThemeColour::CurrentLine, c.set));
            EXPECT_EQ(tintOf(expected, 1), themeColour(ThemeColour::DifferingLine, c.set));
            EXPECT_TRUE(browser.document()->defaultStyleSheet().contains(Theme::instance().referenceBlockStyle()));
            EXPECT_FALSE(window->windowTitle().contains(u'*')) << "new colours are no edit";
        }
        click(debugger, "cmdAbort");
    }});
    action("mnuDebug").trigger();
    EXPECT_EQ(script.pauses(), 1);
    EXPECT_EQ(QApplication::palette().color(QPalette::Base), usual.color(QPalette::Base)) << "跟随系统 is the usual look";
    EXPECT_EQ(tarnikSettings().value(QStringLiteral("View/Theme")).toString(), QStringLiteral("system"));
}

double luminance(const QColor& colour)
{
    auto channel = [](double c) { return c <= 0.03928 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4); };
    return 0.2126 * channel(colour.redF()) + 0.7152 * channel(colour.greenF()) + 0.0722 * channel(colour.blueF());
}

double contrast(const QColor& a, const QColor& b)
{
    const double la = luminance(a);
    const double lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

// Every verdict's mark reads on its own colour, the console's text on its
// background, and high contrast's program text on its black, in every set.
TEST(ThemeColours, TextReadsOnEveryBackgroundOfEverySet)
{
    for (ColourSet set : {ColourSet::Light, ColourSet::Dark, ColourSet::HighContrast}) {
        SCOPED_TRACE(static_cast<int>(set));
        const QColor verdictText = themeColour(ThemeColour::VerdictText, set);
        for (auto verdict = static_cast<int>(ThemeColour::VerdictAccepted);
             verdict <= static_cast<int>(ThemeColour::VerdictCompileError); ++verdict) {
            SCOPED_TRACE(verdict);
            EXPECT_GE(contrast(verdictText, themeColour(static_cast<ThemeColour>(verdict), set)), 4.5);
        }
        EXPECT_GE(contrast(themeColour(ThemeColour::ConsoleText, set), themeColour(ThemeColour::ConsoleBase, set)), 7.0);
    }
    for (int kind = 0; kind <= static_cast<int>(LineStretchKind::Operator); ++kind) {
        SCOPED_TRACE(kind);
        EXPECT_GE(contrast(tokenColour(static_cast<LineStretchKind>(kind), ColourSet::HighContrast), Qt::black), 7.0);
    }
}

// The sizes of every pane in one record, so that they are compared together.
struct Sizes {
    double application;
    double editor;
    double console;
    double caseList;
    int gutter;
    int icons;
    int tick;  // a check box, as a breakpoint's in the debugger
};

TEST_F(ClassroomLook, PresentationScalesEveryPaneAndGivesThemBackAndKeepsTheZoom)
{
    QTreeWidget& cases = *testResults().findChild<QTreeWidget*>(QStringLiteral("lvCases"));
    auto& source = static_cast<SourceEditor&>(editor());
    auto sizes = [&] {
        return Sizes{QApplication::font().pointSizeF(), editor().font().pointSizeF(), consoleBox().font().pointSizeF(),
                     cases.font().pointSizeF(), source.gutterWidth(), toolBar().iconSize().height(),
                     QApplication::style()->pixelMetric(QStyle::PM_IndicatorWidth)};
    };
    const Sizes normal = sizes();
    const double referenceSize = reference().browser().font().pointSizeF();
    ASSERT_DOUBLE_EQ(normal.editor, TextZoom::kDefaultPointSize);

    action("mnuViewPresentation200").trigger();
    EXPECT_TRUE(action("mnuViewPresentation").isChecked());
    const Sizes big = sizes();
    EXPECT_DOUBLE_EQ(big.application, 2 * normal.application);
    EXPECT_DOUBLE_EQ(big.editor, 2 * normal.editor);
    EXPECT_DOUBLE_EQ(big.console, 2 * normal.console);
    EXPECT_DOUBLE_EQ(big.caseList, 2 * normal.caseList);
    EXPECT_EQ(big.icons, 2 * normal.icons);
    EXPECT_EQ(big.tick, 2 * normal.tick);
    EXPECT_GT(big.gutter, normal.gutter * 3 / 2) << "the numbers and marks grow with the text";
    // Qt hands a new application font to the widgets through the event loop.
    EXPECT_TRUE(waitFor([&] { return reference().browser().font().pointSizeF() == 2 * referenceSize; }));

    // The pupil's zoom goes on under the factor and is all that is stored of it.
    action("mnuViewZoomIn").trigger();
    EXPECT_DOUBLE_EQ(editor().font().pointSizeF(), 2.0 * (TextZoom::kDefaultPointSize + 1));
    EXPECT_EQ(tarnikSettings().value(QStringLiteral("Editor/FontSize")).toInt(), TextZoom::kDefaultPointSize + 1);

    std::vector<double> debuggerSizes;
    DebuggerScript script({[&](QDialog& debugger) {
        debuggerSizes.push_back(variableList(debugger).font().pointSizeF());
        action("mnuViewPresentation").trigger();  // off while the debugger is open
        debuggerSizes.push_back(variableList(debugger).font().pointSizeF());
        debuggerSizes.push_back(codeList(debugger).font().pointSizeF());
        click(debugger, "cmdAbort");
    }});
    action("mnuDebug").trigger();
    ASSERT_EQ(debuggerSizes.size(), 3u);
    EXPECT_DOUBLE_EQ(debuggerSizes[0], 2 * debuggerSizes[1]);
    EXPECT_DOUBLE_EQ(debuggerSizes[2], debuggerSizes[1]);

    const Sizes back = sizes();
    EXPECT_DOUBLE_EQ(back.application, normal.application);
    EXPECT_DOUBLE_EQ(back.editor, TextZoom::kDefaultPointSize + 1);
    EXPECT_DOUBLE_EQ(back.caseList, TextZoom::kDefaultPointSize + 1);
    EXPECT_EQ(back.icons, normal.icons);
    EXPECT_EQ(back.tick, normal.tick);
    EXPECT_TRUE(waitFor([&] { return reference().browser().font().pointSizeF() == referenceSize; }));
    EXPECT_EQ(tarnikSettings().value(QStringLiteral("View/Presentation")).toBool(), false);
    EXPECT_EQ(tarnikSettings().value(QStringLiteral("View/PresentationScale")).toInt(), 200);
}

// A new window (the next start) shows the mode and factor kept, checked in its menu, and sizes its windows for them.
TEST_F(ClassroomLook, ANewWindowShowsThePresentationStateKept)
{
    action("mnuViewPresentation175").trigger();
    restartWindow();
    EXPECT_TRUE(action("mnuViewPresentation").isChecked());
    EXPECT_TRUE(action("mnuViewPresentation175").isChecked());
    EXPECT_DOUBLE_EQ(editor().font().pointSizeF(), 1.75 * TextZoom::kDefaultPointSize);
    EXPECT_EQ(toolBar().iconSize().height(), 42);
    // A window first opened in the mode is bigger, yet within the screen.
    openCommandLine(path(QStringLiteral("double.tnk")));
    QDialog& results = testResults();
    const QSize screen = results.screen()->availableGeometry().size();
    EXPECT_GT(results.width(), 720);
    EXPECT_LE(results.width(), screen.width());
    EXPECT_LE(results.height(), screen.height());
}

}  // namespace
}  // namespace tarnik::test
