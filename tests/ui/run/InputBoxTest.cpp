// The real input box: the program's question above the box's own text, and
// the box opened beside the window that asks, not over it.
#include <gtest/gtest.h>

#include <QApplication>
#include <QInputDialog>
#include <QLabel>
#include <QMainWindow>
#include <QPushButton>
#include <QScreen>
#include <QTimer>

#include "support/IdeFixture.h"
#include "ui/QtDialogs.h"

namespace tarnik::test {
namespace {

struct SeenBox {
    QString label;
    QRect frame;
};

// Asks through the real box, which is looked at and cancelled as soon as it shows.
SeenBox askAndCancel(QWidget& owner, const InputPrompt& prompt)
{
    SeenBox seen;
    QTimer look;
    QObject::connect(&look, &QTimer::timeout, [&] {
        for (QWidget* widget : QApplication::topLevelWidgets()) {
            auto* box = qobject_cast<QInputDialog*>(widget);
            if (!box || !box->isVisible()) continue;
            seen = {box->labelText(), box->frameGeometry()};
            box->reject();
        }
    });
    look.start(5);
    QtDialogs dialogs;
    EXPECT_EQ(dialogs.inputText(&owner, QStringLiteral("数据输入"), prompt), std::nullopt);
    return seen;
}

TEST(InputBox, QuestionStandsAboveTheBoxsOwnText)
{
    QMainWindow owner;
    owner.setGeometry(20, 20, 200, 100);
    owner.show();
    const QString text = QStringLiteral("输入整数[guess]：");
    EXPECT_EQ(askAndCancel(owner, {text, QStringLiteral("猜一个数："), true, {}}).label,
              QStringLiteral("猜一个数：\n输入整数[guess]："));
    EXPECT_EQ(askAndCancel(owner, {text, QString(), true, {}}).label, text);
}

TEST(InputBox, OpensBesideTheAskingWindowWhereTheScreenHasRoom)
{
    const QRect screen = QApplication::primaryScreen()->availableGeometry();
    struct Case {
        const char* name;
        QRect owner;
        std::function<bool(const QRect& box, const QRect& owner)> placed;
    };
    const Case cases[] = {
        {"right", QRect(screen.left() + 20, screen.top() + 20, 200, 100),
         [](const QRect& box, const QRect& owner) { return box.left() > owner.right(); }},
        {"left", QRect(screen.right() - 220, screen.top() + 20, 200, 100),
         [](const QRect& box, const QRect& owner) { return box.right() < owner.left(); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        QMainWindow owner;
        owner.setGeometry(c.owner);
        owner.show();
        const SeenBox seen = askAndCancel(owner, {QStringLiteral("输入整数[a]："), QString(), true, {}});
        EXPECT_TRUE(c.placed(seen.frame, owner.frameGeometry())) << c.name;
        EXPECT_TRUE(screen.contains(seen.frame));
    }
}

TEST(InputBox, StopRunningIsOfferedOnlyWhenTheAskerCanStop)
{
    QMainWindow owner;
    owner.show();
    for (const bool canStop : {true, false}) {
        SCOPED_TRACE(canStop ? "can stop" : "cannot stop");
        bool offered = false;
        int stops = 0;
        QTimer press;
        QObject::connect(&press, &QTimer::timeout, [&] {
            for (QWidget* widget : QApplication::topLevelWidgets()) {
                auto* box = qobject_cast<QInputDialog*>(widget);
                if (!box || !box->isVisible()) continue;
                auto* stop = box->findChild<QPushButton*>(QStringLiteral("cmdStopRun"));
                offered = stop != nullptr;
                if (stop) {
                    stop->click();
                } else {
                    box->reject();
                }
            }
        });
        press.start(5);
        InputPrompt prompt{QStringLiteral("输入整数[a]："), QString(), true, {}};
        if (canStop) prompt.stop = [&stops] { ++stops; };
        QtDialogs dialogs;
        EXPECT_EQ(dialogs.inputText(&owner, QStringLiteral("数据输入"), prompt), std::nullopt);
        EXPECT_EQ(offered, canStop);
        EXPECT_EQ(stops, canStop ? 1 : 0);
    }
}

}  // namespace
}  // namespace tarnik::test
