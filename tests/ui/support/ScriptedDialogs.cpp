#include "support/ScriptedDialogs.h"

#include <gtest/gtest.h>

namespace tarnik::test {

template <class T>
T ScriptedDialogs::next(std::deque<T>& script, const ShownDialog& dialog, T cancelled)
{
    if (ended) return cancelled;
    if (script.empty()) {
        ADD_FAILURE() << "no scripted answer for the " << dialog.kind.toStdString() << " dialog \""
                      << dialog.title.toStdString() << "\": " << dialog.text.toStdString();
        return cancelled;
    }
    T value = std::move(script.front());
    script.pop_front();
    return value;
}

ShownDialog ScriptedDialogs::log(const char* kind, const QString& title, const QString& text)
{
    ShownDialog dialog{QLatin1String(kind), title, text, QString(), {}, false};
    shown.push_back(dialog);
    if (onShow) onShow(dialog);
    return dialog;
}

Answer ScriptedDialogs::askYesNoCancel(QWidget*, const QString& title, const QString& text)
{
    return next(answers, log("question", title, text), Answer::Cancel);
}

Answer ScriptedDialogs::offerRecovery(QWidget*, const QString& title, const QString& text)
{
    return next(answers, log("recovery", title, text), Answer::Cancel);
}

RecoveryListAnswer ScriptedDialogs::offerRecoveryList(QWidget*, const QString& title, const QString& text,
                                                     const QStringList& items)
{
    ShownDialog dialog{QStringLiteral("recovery list"), title, text, QString(), items, false};
    shown.push_back(dialog);
    if (onShow) onShow(dialog);
    return next(recoveryListAnswers, dialog, RecoveryListAnswer{});
}

std::optional<qsizetype> ScriptedDialogs::chooseItem(QWidget*, const QString& title, const QString& text,
                                                     const QStringList& items)
{
    ShownDialog dialog{QStringLiteral("list"), title, text, QString(), items, false};
    shown.push_back(dialog);
    if (onShow) onShow(dialog);
    return next(itemChoices, dialog, std::optional<qsizetype>());
}

qsizetype ScriptedDialogs::askChoice(QWidget*, const QString& title, const QString& text,
                                    const QStringList& choiceTexts)
{
    return next(choices, log("choice", title, text), choiceTexts.size());
}

void ScriptedDialogs::showMessage(QWidget*, MessageIcon icon, const QString& title, const QString& text)
{
    log(icon == MessageIcon::Critical ? "critical" : "warning", title, text);
}

void ScriptedDialogs::showRunError(QWidget*, const QString& title, const QString& text, const QString& help)
{
    log("critical", title, text);
    // Most tests never press 帮助: an empty script closes the box with OK.
    if (ended || help.isEmpty() || helpPresses.empty()) return;
    const bool pressed = helpPresses.front();
    helpPresses.pop_front();
    if (pressed) log("help", title, help);
}

QString ScriptedDialogs::openFileName(QWidget*, const QString& title, const QString& filter)
{
    return next(openNames, log("open", title, filter), QString());
}

QString ScriptedDialogs::saveFileName(QWidget*, const QString& title, const QString& filter)
{
    return next(saveNames, log("save", title, filter), QString());
}

std::optional<QString> ScriptedDialogs::inputText(QWidget*, const QString& title, const InputPrompt& prompt)
{
    ShownDialog dialog{QStringLiteral("input"), title, prompt.text, prompt.question, {}, prompt.besideParent};
    shown.push_back(dialog);
    if (onShow) onShow(dialog);
    if (ended) return std::nullopt;
    // Without a script the console would ask for ever; answer something.
    QString answer = next(inputs, dialog, QStringLiteral("0"));
    if (answer == kPressStop) {
        EXPECT_TRUE(prompt.stop) << "the box offers no 停止运行";
        if (prompt.stop) prompt.stop();
        return std::nullopt;
    }
    if (answer.isNull()) return std::nullopt;
    return answer;
}

void ScriptedDialogs::endQuestions()
{
    ended = true;
}

std::vector<QString> ScriptedDialogs::kinds() const
{
    std::vector<QString> result;
    for (const ShownDialog& dialog : shown) result.push_back(dialog.kind);
    return result;
}

}  // namespace tarnik::test
