#pragma once
// The dialogs the user sees: Qt's message boxes, file dialogs and input box.
// The file dialogs share one folder, the one a file was last chosen in.
#include "ui/Dialogs.h"

namespace tarnik {

class QtDialogs : public Dialogs {
public:
    Answer askYesNoCancel(QWidget* parent, const QString& title, const QString& text) override;
    Answer offerRecovery(QWidget* parent, const QString& title, const QString& text) override;
    RecoveryListAnswer offerRecoveryList(QWidget* parent, const QString& title, const QString& text,
                                         const QStringList& items) override;
    std::optional<qsizetype> chooseItem(QWidget* parent, const QString& title, const QString& text,
                                        const QStringList& items) override;
    qsizetype askChoice(QWidget* parent, const QString& title, const QString& text,
                        const QStringList& choices) override;
    void showMessage(QWidget* parent, MessageIcon icon, const QString& title, const QString& text) override;
    void showRunError(QWidget* parent, const QString& title, const QString& text, const QString& help) override;
    QString openFileName(QWidget* parent, const QString& title, const QString& filter) override;
    QString saveFileName(QWidget* parent, const QString& title, const QString& filter) override;
    std::optional<QString> inputText(QWidget* parent, const QString& title, const InputPrompt& prompt) override;
    void endQuestions() override;

private:
    QString chooseFile(QWidget* parent, const QString& title, const QString& filter, bool forSaving);

    QString m_directory;
    bool m_ended = false;
};

}  // namespace tarnik
