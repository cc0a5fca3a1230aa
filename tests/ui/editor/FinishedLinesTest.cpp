// The rewrite after a caret move looks only at the lines edited since the
// last one (a loaded text at none), and its results are exactly those of
// rewriting every line: both are run side by side over random edit
// sequences.
#include <gtest/gtest.h>

#include <QTextBlock>
#include <random>

#include "support/IdeFixture.h"
#include "ui/editor/EditorEdits.h"
#include "ui/editor/FinishedLines.h"
#include "ui/editor/SourceEditor.h"

namespace tarnik::test {
namespace {

std::vector<int> unmarkedLines(const QPlainTextEdit& editor)
{
    std::vector<int> lines;
    for (QTextBlock line = editor.document()->firstBlock(); line.isValid(); line = line.next()) {
        if (!FinishedLines::isMarked(line)) lines.push_back(line.blockNumber());
    }
    return lines;
}

void placeCaret(QPlainTextEdit& editor, int position)
{
    QTextCursor cursor = editor.textCursor();
    cursor.setPosition(position);
    editor.setTextCursor(cursor);
}

// Rewriting every line: the same rewrite with every mark taken away first.
void rewriteEveryLine(QPlainTextEdit& editor)
{
    for (QTextBlock line = editor.document()->firstBlock(); line.isValid(); line = line.next()) line.setUserData(nullptr);
    reformatAroundCaret(editor);
}

TEST(FinishedLines, AfterARewriteOnlyTheEditedLinesAndTheCaretLineAreLookedAtAgain)
{
    SourceEditor editor;
    editor.setPlainText(QStringLiteral("x=1\nIF x THEN\nprint   x\nEND IF\ny=2\nz=3"));
    EXPECT_EQ(unmarkedLines(editor), (std::vector<int>{0, 1, 2, 3, 4, 5})) << "a text set as a whole is looked at once";
    placeCaret(editor, 0);
    ASSERT_TRUE(reformatAroundCaret(editor));
    EXPECT_EQ(unmarkedLines(editor), std::vector<int>{0});
    EXPECT_EQ(editor.toPlainText(), QStringLiteral("x=1\nIf x Then\nPrint x\nEnd If\ny = 2\nz = 3"));

    QTextCursor edit(editor.document()->findBlockByNumber(4));
    edit.insertText(QStringLiteral("w=0\n"));  // a new line 4, y=2 moves to 5
    EXPECT_EQ(unmarkedLines(editor), (std::vector<int>{0, 4, 5}));
    editor.undo();
    EXPECT_EQ(unmarkedLines(editor), (std::vector<int>{0, 4}));
}

TEST(FinishedLines, ALoadedTextIsLeftAsItIsExceptWhereItIsEdited)
{
    SourceEditor editor;
    editor.loadText(QStringLiteral("x=1\nIF x THEN\nEND IF"));
    EXPECT_TRUE(unmarkedLines(editor).empty());
    placeCaret(editor, 0);
    EXPECT_FALSE(reformatAroundCaret(editor));

    QTextCursor edit(editor.document()->findBlockByNumber(1));
    edit.movePosition(QTextCursor::EndOfBlock);
    edit.insertText(QStringLiteral(" ' why"));
    EXPECT_EQ(unmarkedLines(editor), std::vector<int>{1});
    EXPECT_TRUE(reformatAroundCaret(editor));
    EXPECT_EQ(editor.toPlainText(), QStringLiteral("x=1\nIf x Then ' why\nEND IF"));
}

struct Snippets {
    std::vector<QString> pieces{
        QStringLiteral("print"), QStringLiteral(" "),  QStringLiteral("x=1"),       QStringLiteral("\n"),
        QStringLiteral("'  Note"), QStringLiteral("\""), QStringLiteral("IF a<>b THEN"), QStringLiteral("for i=1 TO 3"),
        QStringLiteral("中文"),     QStringLiteral("   "), QStringLiteral("(a+b)*2"),    QStringLiteral("next\n"),
        QStringLiteral("10 goto 10"), QStringLiteral("a < = b"), QStringLiteral("\n\n"), QStringLiteral(",;")};
};

TEST(FinishedLines, RewritingEditedLinesGivesWhatRewritingEveryLineGives)
{
    const Snippets snippets;
    for (unsigned seed = 1; seed <= 12; ++seed) {
        SCOPED_TRACE(seed);
        std::mt19937 random(seed);
        auto below = [&random](int bound) { return bound <= 0 ? 0 : static_cast<int>(random() % static_cast<unsigned>(bound)); };
        SourceEditor edited;
        QPlainTextEdit every;
        for (QPlainTextEdit* editor : {static_cast<QPlainTextEdit*>(&edited), &every}) {
            editor->setPlainText(QStringLiteral("x=1\nprint x ' Sum\nIF x THEN\ny=2\nEND IF"));
        }
        for (int step = 0; step < 300; ++step) {
            const int length = static_cast<int>(edited.toPlainText().size());
            const int kind = below(10);
            const int position = below(length + 1);
            const QString piece = snippets.pieces[static_cast<std::size_t>(below(static_cast<int>(snippets.pieces.size())))];
            const int removed = std::min(below(6), length - position);
            for (QPlainTextEdit* editor : {static_cast<QPlainTextEdit*>(&edited), &every}) {
                QTextCursor cursor(editor->document());
                cursor.setPosition(position);
                if (kind < 5) {
                    cursor.insertText(piece);
                } else if (kind < 7) {
                    cursor.setPosition(position + removed, QTextCursor::KeepAnchor);
                    cursor.removeSelectedText();
                } else if (kind == 7) {
                    editor->undo();
                } else if (kind == 8 && step % 50 == 0) {
                    editor->setPlainText(QStringLiteral("a=1\nb=2\n\nFOR i=1 TO 2\nNEXT"));
                }
            }
            ASSERT_EQ(edited.toPlainText(), every.toPlainText()) << "step " << step;
            // The caret moves to another line: both rewrite.
            const int caret = below(static_cast<int>(edited.toPlainText().size()) + 1);
            placeCaret(edited, caret);
            placeCaret(every, caret);
            reformatAroundCaret(edited);
            rewriteEveryLine(every);
            ASSERT_EQ(edited.toPlainText(), every.toPlainText()) << "step " << step;
        }
    }
}

}  // namespace
}  // namespace tarnik::test
