#include "ui/QtDialogs.h"

#include <QEvent>
#include <QEventLoop>
#include <QFileDialog>
#include <QInputDialog>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QRegularExpression>
#include <QScreen>

namespace tarnik {
namespace {

// Rejects `dialog` when `owner` is hidden.
class CloseWhenHidden : public QObject {
public:
    CloseWhenHidden(QWidget* owner, QDialog& dialog) : m_owner(owner), m_dialog(dialog)
    {
        if (m_owner) m_owner->installEventFilter(this);
    }
    ~CloseWhenHidden() override
    {
        if (m_owner) m_owner->removeEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (watched == m_owner && event->type() == QEvent::Hide) m_dialog.reject();
        return false;
    }

private:
    QPointer<QWidget> m_owner;
    QDialog& m_dialog;
};

constexpr int kGap = 8;

// Next to `owner`, on the first side with room on its screen: right, left,
// below, above; over it (Qt's own place) when no side has room.
void placeBeside(QWidget& box, const QWidget& owner)
{
    const QScreen* screen = owner.screen();
    if (!screen) return;
    box.adjustSize();
    const QRect around = owner.frameGeometry();
    const QSize size = box.size();
    const QPoint sides[] = {
        {around.right() + kGap, around.top()},
        {around.left() - kGap - size.width(), around.top()},
        {around.left(), around.bottom() + kGap},
        {around.left(), around.top() - kGap - size.height()},
    };
    for (const QPoint& side : sides) {
        if (screen->availableGeometry().contains(QRect(side, size))) {
            box.move(side);
            return;
        }
    }
}

// The first pattern's ending: "tnk" for "Tarnik文件 (*.tnk)".
QString defaultSuffix(const QString& filter)
{
    static const QRegularExpression firstPattern(QStringLiteral("\\(\\*\\.([^ );]+)"));
    return firstPattern.match(filter).captured(1);
}

}  // namespace

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

Answer QtDialogs::offerRecovery(QWidget* parent, const QString& title, const QString& text)
{
    QMessageBox box(QMessageBox::Question, title, text, QMessageBox::Cancel, parent);
    QPushButton* recover = box.addButton(QStringLiteral("恢复"), QMessageBox::AcceptRole);
    QPushButton* discard = box.addButton(QStringLiteral("丢弃"), QMessageBox::DestructiveRole);
    box.setDefaultButton(recover);
    box.setEscapeButton(QMessageBox::Cancel);
    box.exec();
    if (box.clickedButton() == recover) return Answer::Yes;
    if (box.clickedButton() == discard) return Answer::No;
    return Answer::Cancel;
}

qsizetype QtDialogs::askChoice(QWidget* parent, const QString& title, const QString& text,
                              const QStringList& choices)
{
    QMessageBox box(QMessageBox::Warning, title, text, QMessageBox::NoButton, parent);
    QList<QAbstractButton*> buttons;
    for (const QString& choice : choices) buttons.append(box.addButton(choice, QMessageBox::AcceptRole));
    QPushButton* cancel = box.addButton(QMessageBox::Cancel);
    box.setDefaultButton(cancel);
    box.setEscapeButton(cancel);
    box.exec();
    const qsizetype chosen = buttons.indexOf(box.clickedButton());
    return chosen < 0 ? choices.size() : chosen;
}

void QtDialogs::showMessage(QWidget* parent, MessageIcon icon, const QString& title, const QString& text)
{
    QMessageBox box(icon == MessageIcon::Critical ? QMessageBox::Critical : QMessageBox::Warning, title, text,
                    QMessageBox::Ok, parent);
    box.exec();
}

// The explanation opens over the error box's place once the box is closed, so
// that the message and the selected line stay in view beside it.
void QtDialogs::showRunError(QWidget* parent, const QString& title, const QString& text, const QString& help)
{
    QMessageBox box(QMessageBox::Critical, title, text, QMessageBox::Ok, parent);
    QPushButton* helpButton = help.isEmpty() ? nullptr : box.addButton(QStringLiteral("帮助(&H)"), QMessageBox::HelpRole);
    box.setDefaultButton(QMessageBox::Ok);
    box.exec();
    if (!helpButton || box.clickedButton() != helpButton) return;
    QMessageBox explanation(QMessageBox::Information, QStringLiteral("%1 的说明").arg(title), help, QMessageBox::Ok,
                            parent);
    explanation.setTextFormat(Qt::PlainText);
    explanation.exec();
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
        dialog.setDefaultSuffix(defaultSuffix(filter));
    } else {
        dialog.setFileMode(QFileDialog::ExistingFile);
    }
    if (dialog.exec() != QDialog::Accepted) return {};
    QString path = dialog.selectedFiles().value(0);
    m_directory = QFileInfo(path).absolutePath();
    return path;
}

// The box blocks only its caller, not the other windows: a program that asks
// again and again can still be ended from the console, and the console
// hiding (End, its close box) closes the box as cancelled.
std::optional<QString> QtDialogs::inputText(QWidget* parent, const QString& title, const InputPrompt& prompt)
{
    QInputDialog box(parent);
    box.setWindowTitle(title);
    box.setLabelText(prompt.question.isEmpty() ? prompt.text : prompt.question + QLatin1Char('\n') + prompt.text);
    box.setInputMode(QInputDialog::TextInput);
    if (prompt.besideParent && parent) placeBeside(box, *parent);
    CloseWhenHidden closer(parent, box);
    QEventLoop loop;
    QObject::connect(&box, &QDialog::finished, &loop, &QEventLoop::quit);
    // Shown without a modal loop, the box gets the keyboard only when asked.
    box.show();
    box.raise();
    box.activateWindow();
    loop.exec();
    if (box.result() != QDialog::Accepted) return std::nullopt;
    return box.textValue();
}

}  // namespace tarnik
