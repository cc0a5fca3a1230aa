// Help where a beginner gets stuck: the error box's 帮助.
#include "support/IdeFixture.h"

namespace tarnik::test {
namespace {

using Help = IdeFixture;

TEST_F(Help, ErrorBoxHelpExplainsTheErrorAndWhatTheLineTells)
{
    struct Case {
        const char* name;
        QString program;
        QString title;
        QString text;
        QString explanationStart;  // the explanation's first line
        QString context;           // what only this program tells, empty when nothing
        QString selected;
    };
    const Case cases[] = {
        {"function the language lacks", QStringLiteral("print int(3.7)"), QStringLiteral("错误 120"),
         QStringLiteral("语句未结束(第1行)"), QStringLiteral("错误 120: 语句未结束\n意思："), QString(),
         QStringLiteral("print int(3.7)")},
        {"for left open", QStringLiteral("for i = 1 to 3\nprint i"), QStringLiteral("错误 303"),
         QStringLiteral("For没有Next(第2行)"), QStringLiteral("错误 303: For没有Next\n"),
         QStringLiteral("没有结束的 For 从第1行开始。"), QStringLiteral("print i")},
        {"full-width digits", QStringLiteral("x = １ / 0"), QString(), QString(), QString(),
         QStringLiteral("第1行有全角字符：「１」"), QStringLiteral("x = １ / 0")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        setEditorText(c.program);
        dialogs.shown.clear();
        dialogs.helpPresses = {true};
        run();
        ASSERT_EQ(dialogs.kinds(), (std::vector<QString>{QStringLiteral("critical"), QStringLiteral("help")}));
        const ShownDialog& box = dialogs.shown[0];
        const ShownDialog& help = dialogs.shown[1];
        if (!c.title.isEmpty()) {
            EXPECT_EQ(box.title, c.title);
            EXPECT_EQ(box.text, c.text);
        }
        EXPECT_EQ(help.title, box.title);
        EXPECT_TRUE(help.text.startsWith(box.title + QStringLiteral(": "))) << help.text;
        EXPECT_TRUE(help.text.startsWith(c.explanationStart)) << help.text;
        EXPECT_TRUE(help.text.contains(QStringLiteral("意思："))) << help.text;
        if (!c.context.isEmpty()) {
            EXPECT_TRUE(help.text.contains(c.context)) << help.text;
        }
        EXPECT_EQ(editor().textCursor().selectedText(), c.selected);
    }
}

TEST_F(Help, ErrorBoxClosedWithOkShowsNoHelp)
{
    setEditorText(QStringLiteral("x = 1 / 0"));
    dialogs.helpPresses = {false};
    run();
    EXPECT_EQ(dialogs.kinds(), std::vector<QString>{QStringLiteral("critical")});
    EXPECT_EQ(editor().textCursor().selectedText(), QStringLiteral("x = 1 / 0"));
}

}  // namespace
}  // namespace tarnik::test
