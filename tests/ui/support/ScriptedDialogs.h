#pragma once
// Dialogs for tests: every answer comes from a script, every dialog shown is
// logged. A dialog the script has no answer for fails the test (and gets a
// harmless answer, so that the test does not hang). Once the questions are
// ended, every dialog is still logged but answered as 取消 would, and the
// script is left as it is.
#include <deque>
#include <functional>
#include <optional>
#include <vector>

#include "ui/Dialogs.h"

namespace tarnik::test {

struct ShownDialog {
    // "question", "recovery", "recovery list", "choice", "critical", "warning", "open", "save", "input", "help"
    QString kind;
    QString title;
    QString text;  // message, prompt or file filter
    QString question;  // an input box's question above its prompt
    QStringList items;  // a recovery list's items
    bool besideParent = false;
};

class ScriptedDialogs : public Dialogs {
public:
    std::deque<Answer> answers;
    std::deque<qsizetype> choices;  // indices into a choice question's buttons; past the end is 取消
    std::deque<QString> openNames;
    std::deque<QString> saveNames;
    std::deque<QString> inputs;  // a null QString stands for Cancel, kPressStop for 停止运行
    static inline const QString kPressStop = QStringLiteral("<停止运行>");
    std::deque<bool> helpPresses;  // whether the user presses 帮助 in a run's error box
    std::deque<RecoveryListAnswer> recoveryListAnswers;
    std::deque<std::optional<qsizetype>> itemChoices;  // a list's chosen item; nothing is 取消
    bool ended = false;  // endQuestions() was called
    std::vector<ShownDialog> shown;
    std::function<void(const ShownDialog&)> onShow;  // called as each dialog opens

    Answer askYesNoCancel(QWidget* parent, const QString& title, const QString& text) override;
    Answer offerRecovery(QWidget* parent, const QString& title, const QString& text) override;
    RecoveryListAnswer offerRecoveryList(QWidget* parent, const QString& title, const QString& text,
                                         const QStringList& items) override;
    std::optional<qsizetype> chooseItem(QWidget* parent, const QString& title, const QString& text,
                                        const QStringList& items) override;
    qsizetype askChoice(QWidget* parent, const QString& title, const QString& text,
                        const QStringList& choiceTexts) override;
    void showMessage(QWidget* parent, MessageIcon icon, const QString& title, const QString& text) override;
    // Logged as "critical"; a press of 帮助 logs the help as "help".
    void showRunError(QWidget* parent, const QString& title, const QString& text, const QString& help) override;
    QString openFileName(QWidget* parent, const QString& title, const QString& filter) override;
    QString saveFileName(QWidget* parent, const QString& title, const QString& filter) override;
    std::optional<QString> inputText(QWidget* parent, const QString& title, const InputPrompt& prompt) override;
    void endQuestions() override;

    // The kinds of the dialogs shown, in order.
    [[nodiscard]] std::vector<QString> kinds() const;

private:
    ShownDialog log(const char* kind, const QString& title, const QString& text);
    template <class T>
    T next(std::deque<T>& script, const ShownDialog& dialog, T cancelled);
};

}  // namespace tarnik::test
