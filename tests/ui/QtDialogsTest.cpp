// The real choice box: 取消 is the default and what Esc answers, so a
// question that risks a loss is never answered yes by a stray key.
#include <gtest/gtest.h>

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <functional>

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

}  // namespace
}  // namespace tarnik
