#pragma once
// Dialogs for tests: every answer comes from a script, every dialog shown is
// logged. A dialog the script has no answer for fails the test (and gets a
// harmless answer, so that the test does not hang).
#include <deque>
#include <functional>
#include <optional>
#include <vector>

#include "ui/Dialogs.h"

namespace tarnik::test {

struct ShownDialog {
    QString kind;  // "question", "recovery", "choice", "critical", "warning", "open", "save", "input", "help"
    QString title;
    QString text;  // message, prompt or file filter
    QString question;  // an input box's question above its prompt
    bool besideParent = false;
};

class ScriptedDialogs : public Dialogs {
public:
    std::deque<Answer> answers;
    std::deque<qsizetype> choices;  // indices into a choice question's buttons; past the end is 取消
    std::deque<QString> openNames;
    std::deque<QString> saveNames;
    std::deque<QString> inputs;  // a null QString stands for Cancel
    std::deque<bool> helpPresses;  // whether the user presses 帮助 in a run's error box
    std::vector<ShownDialog> shown;
    std::function<void(const ShownDialog&)> onShow;  // called as each dialog opens

    Answer askYesNoCancel(QWidget* parent, const QString& title, const QString& text) override;
    Answer offerRecovery(QWidget* parent, const QString& title, const QString& text) override;
    qsizetype askChoice(QWidget* parent, const QString& title, const QString& text,
                        const QStringList& choiceTexts) override;
    void showMessage(QWidget* parent, MessageIcon icon, const QString& title, const QString& text) override;
    // Logged as "critical"; a press of 帮助 logs the help as "help".
    void showRunError(QWidget* parent, const QString& title, const QString& text, const QString& help) override;
    QString openFileName(QWidget* parent, const QString& title, const QString& filter) override;
    QString saveFileName(QWidget* parent, const QString& title, const QString& filter) override;
    std::optional<QString> inputText(QWidget* parent, const QString& title, const InputPrompt& prompt) override;

    // The kinds of the dialogs shown, in order.
    [[nodiscard]] std::vector<QString> kinds() const;

private:
    ShownDialog log(const char* kind, const QString& title, const QString& text);
};

}  // namespace tarnik::test
