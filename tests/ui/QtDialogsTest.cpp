// The real choice box: 取消 is the default and what Esc answers, so a
// question that risks a loss is never answered yes by a stray key. The real
// error box: its 帮助 shows the explanation.
#include <gtest/gtest.h>

#include <QApplication>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <functional>
#include <utility>
#include <vector>

#include "ui/QtDialogs.h"

namespace tarnik {
namespace {

// Asks a three-button question and lets `user` act on the box once it shows.
qsizetype askWhile(const std::function<void(QMessageBox&)>& user, QString* cancelText = nullptr)
{
    QtDialogs dialogs;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (box == nullptr || !box->isVisible()) return;
        poll.stop();
        if (cancelText != nullptr && box->defaultButton() != nullptr) *cancelText = box->defaultButton()->text();
        user(*box);
    });
    poll.start(10);
    return dialogs.askChoice(nullptr, QStringLiteral("保存"), QStringLiteral("文件已被修改。"),
                             {QStringLiteral("覆盖"), QStringLiteral("重新载入")});
}

TEST(ChoiceBox, EnterAndEscapeAnswerCancel)
{
    QString defaultText;
    EXPECT_EQ(askWhile([](QMessageBox& box) { QTest::keyClick(&box, Qt::Key_Return); }, &defaultText), 2);
    EXPECT_EQ(defaultText, QStringLiteral("取消"));
    EXPECT_EQ(askWhile([](QMessageBox& box) { QTest::keyClick(&box, Qt::Key_Escape); }), 2);
}

TEST(ChoiceBox, EachChoiceAnswersItsIndex)
{
    for (int index : {0, 1}) {
        const qsizetype answer = askWhile([&](QMessageBox& box) {
            for (QAbstractButton* button : box.buttons()) {
                const QString wanted = index == 0 ? QStringLiteral("覆盖") : QStringLiteral("重新载入");
                if (button->text() == wanted) button->click();
            }
        });
        EXPECT_EQ(answer, index);
    }
}

// Shows a run's error box; `user` acts on each box that opens, in turn,
// and each box's title and text are kept.
std::vector<std::pair<QString, QString>> showErrorWhile(const QString& help,
                                                       const std::function<void(QMessageBox&)>& user)
{
    QtDialogs dialogs;
    std::vector<std::pair<QString, QString>> seen;
    QPointer<QMessageBox> last;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (box == nullptr || !box->isVisible() || box == last) return;
        last = box;
        seen.emplace_back(box->windowTitle(), box->text());
        user(*box);
    });
    poll.start(10);
    dialogs.showRunError(nullptr, QStringLiteral("错误 11"), QStringLiteral("除数为零(第1行)"), help);
    return seen;
}

void clickButton(QMessageBox& box, const QString& text)
{
    for (QAbstractButton* button : box.buttons()) {
        if (button->text() == text) {
            button->click();
            return;
        }
    }
    ADD_FAILURE() << "no button " << text.toStdString();
}

TEST(RunErrorBox, HelpButtonShowsTheExplanation)
{
    const QString help = QStringLiteral("错误 11: 除数为零\n意思：……");
    const auto seen = showErrorWhile(help, [](QMessageBox& box) {
        if (box.windowTitle() == QStringLiteral("错误 11")) {
            clickButton(box, QStringLiteral("帮助(&H)"));
        } else {
            QTest::keyClick(&box, Qt::Key_Return);
        }
    });
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_EQ(seen[0], std::make_pair(QStringLiteral("错误 11"), QStringLiteral("除数为零(第1行)")));
    EXPECT_EQ(seen[1], std::make_pair(QStringLiteral("错误 11 的说明"), help));
}

TEST(RunErrorBox, EnterClosesWithoutHelpAndNoHelpMeansNoButton)
{
    const auto closed = showErrorWhile(QStringLiteral("说明"), [](QMessageBox& box) { QTest::keyClick(&box, Qt::Key_Return); });
    EXPECT_EQ(closed.size(), 1u);
    const auto plain = showErrorWhile(QString(), [](QMessageBox& box) {
        EXPECT_EQ(box.buttons().size(), 1);
        QTest::keyClick(&box, Qt::Key_Escape);
    });
    EXPECT_EQ(plain.size(), 1u);
}

}  // namespace
}  // namespace tarnik
