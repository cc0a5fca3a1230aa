#pragma once
// Every modal question the windows ask goes through this interface, so that a
// test can answer it: QtDialogs shows Qt's dialogs, a test follows a script.
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

class QWidget;

namespace tarnik {

enum class Answer { Yes, No, Cancel };

// The answer to the offer of several texts left unsaved.
enum class RecoveryListAction { Recover, RecoverAll, DiscardAll, Cancel };
struct RecoveryListAnswer {
    RecoveryListAction action = RecoveryListAction::Cancel;
    qsizetype chosen = 0;  // for Recover: the index of the chosen item
};
enum class MessageIcon { Critical, Warning };

// What an input box shows.
struct InputPrompt {
    QString text;              // the box's own text
    QString question;          // above it, when there is one: the question the program printed
    bool besideParent = false;  // opened next to the parent window instead of over it
    // When set, the box offers 停止运行 beside 确定, which calls it (and the
    // box then counts as cancelled).
    std::function<void()> stop;
};

class Dialogs {
public:
    virtual ~Dialogs() = default;

    virtual Answer askYesNoCancel(QWidget* parent, const QString& title, const QString& text) = 0;
    // The offer of text left unsaved: Yes for 恢复 (the default), No for
    // 丢弃, Cancel for 取消 (Esc, the close box): asked again next time.
    virtual Answer offerRecovery(QWidget* parent, const QString& title, const QString& text) = 0;
    // The offer of several texts left unsaved, one item each, in one list:
    // 恢复 (the default) opens the chosen item, 全部恢复 every item, 全部丢弃
    // deletes them all, 取消 (Esc, the close box) asks again next time.
    virtual RecoveryListAnswer offerRecoveryList(QWidget* parent, const QString& title, const QString& text,
                                                 const QStringList& items) = 0;
    // A question whose buttons read `choices`, in order, followed by 取消,
    // the default and what Esc answers: for questions where going on could
    // lose something. The index of the choice, or choices.size() for 取消.
    virtual qsizetype askChoice(QWidget* parent, const QString& title, const QString& text,
                                const QStringList& choices) = 0;
    // One item of a list (the first preselected; double-click or 确定
    // chooses): its index, nothing when cancelled.
    virtual std::optional<qsizetype> chooseItem(QWidget* parent, const QString& title, const QString& text,
                                                const QStringList& items) = 0;
    // A message with a single OK button.
    virtual void showMessage(QWidget* parent, MessageIcon icon, const QString& title, const QString& text) = 0;
    // A run's error: the message with OK and, when `help` is not empty, a
    // 帮助 button that shows `help` (the explanation) before the box closes.
    virtual void showRunError(QWidget* parent, const QString& title, const QString& text, const QString& help) = 0;
    // The chosen path, empty when the dialog was cancelled. `filter` is in
    // Qt's form: "Name (*.a *.b);;Other (*)".
    virtual QString openFileName(QWidget* parent, const QString& title, const QString& filter) = 0;
    virtual QString saveFileName(QWidget* parent, const QString& title, const QString& filter) = 0;
    // The typed text, nothing when the box was cancelled. The box leaves the
    // other windows usable and counts as cancelled when `parent` is hidden.
    virtual std::optional<QString> inputText(QWidget* parent, const QString& title, const InputPrompt& prompt) = 0;
    // The IDE is ending (a signal): every later dialog answers at once,
    // without showing, what 取消 or closing it would. (The ones open now
    // return as cancelled when the application's exit ends their loops.)
    virtual void endQuestions() = 0;
};

}  // namespace tarnik
