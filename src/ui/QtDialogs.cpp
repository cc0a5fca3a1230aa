#include "ui/QtDialogs.h"

#include <QFileDialog>
#include <QInputDialog>
#include <QMessageBox>

namespace tarnik {
Answer QtDialogs::askYesNoCancel(QWidget* parent, const QString& title, const QString& text)
{
    QMessageBox box(QMessageBox::Question, title, text, QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel,
                    parent);
    box.setDefaultButton(QMessageBox::Yes);
    switch (box.exec()) {
    case QMessageBox::Yes: return Answer::Yes;
    case QMessageBox::No: return Answer::No;
    default: return Answer::Cancel;
    }
}

void QtDialogs::showMessage(QWidget* parent, MessageIcon icon, const QString& title, const QString& text)
{
    QMessageBox box(icon == MessageIcon::Critical ? QMessageBox::Critical : QMessageBox::Warning, title, text,
                    QMessageBox::Ok, parent);
    box.exec();
}

QString QtDialogs::openFileName(QWidget* parent, const QString& title, const QString& filter)
{
    return chooseFile(parent, title, filter, false);
}

QString QtDialogs::saveFileName(QWidget* parent, const QString& title, const QString& filter)
{
    return chooseFile(parent, title, filter, true);
}

QString QtDialogs::chooseFile(QWidget* parent, const QString& title, const QString& filter, bool forSaving)
{
    QFileDialog dialog(parent, title, m_directory, filter);
    if (forSaving) {
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setDefaultSuffix(QStringLiteral("tnk"));
    } else {
        dialog.setFileMode(QFileDialog::ExistingFile);
    }
    if (dialog.exec() != QDialog::Accepted) return {};
    QString path = dialog.selectedFiles().value(0);
    m_directory = QFileInfo(path).absolutePath();
    return path;
}

std::optional<QString> QtDialogs::inputText(QWidget* parent, const QString& title, const QString& prompt)
{
    QInputDialog box(parent);
    box.setWindowTitle(title);
    box.setLabelText(prompt);
    box.setInputMode(QInputDialog::TextInput);
    if (box.exec() != QDialog::Accepted) return std::nullopt;
    return box.textValue();
}

}  // namespace tarnik
