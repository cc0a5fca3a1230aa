#include "ui/QtDialogs.h"

#include <QDialogButtonBox>
#include <QEvent>
#include <QEventLoop>
#include <QFileDialog>
#include <QInputDialog>
#include <QLabel>
#include <QListWidget>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QRegularExpression>
#include <QScreen>
#include <QVBoxLayout>
#include <algorithm>

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
    if (m_ended) return Answer::Cancel;
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
    if (m_ended) return Answer::Cancel;
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

// A list with the newest item chosen; a double click is 恢复 too.
RecoveryListAnswer QtDialogs::offerRecoveryList(QWidget* parent, const QString& title, const QString& text,
                                                const QStringList& items)
{
    if (m_ended) return {};
    QDialog box(parent);
    box.setWindowTitle(title);
    auto* layout = new QVBoxLayout(&box);
    auto* question = new QLabel(text, &box);
    question->setWordWrap(true);
    layout->addWidget(question);
    auto* list = new QListWidget(&box);
    list->setAccessibleName(QStringLiteral("未保存的程序"));
    list->addItems(items);
    list->setCurrentRow(0);
    layout->addWidget(list);
    auto* buttons = new QDialogButtonBox(&box);
    QPushButton* recover = buttons->addButton(QStringLiteral("恢复"), QDialogButtonBox::AcceptRole);
    QPushButton* recoverAll = buttons->addButton(QStringLiteral("全部恢复"), QDialogButtonBox::ActionRole);
    QPushButton* discardAll = buttons->addButton(QStringLiteral("全部丢弃"), QDialogButtonBox::DestructiveRole);
    buttons->addButton(QDialogButtonBox::Cancel);
    recover->setDefault(true);
    layout->addWidget(buttons);
    RecoveryListAnswer answer;
    const auto finishWith = [&](RecoveryListAction action) {
        answer = {action, std::max(list->currentRow(), 0)};
        box.accept();
    };
    QObject::connect(recover, &QPushButton::clicked, &box, [&] { finishWith(RecoveryListAction::Recover); });
    QObject::connect(recoverAll, &QPushButton::clicked, &box, [&] { finishWith(RecoveryListAction::RecoverAll); });
    QObject::connect(discardAll, &QPushButton::clicked, &box, [&] { finishWith(RecoveryListAction::DiscardAll); });
    QObject::connect(list, &QListWidget::itemActivated, &box, [&] { finishWith(RecoveryListAction::Recover); });
    QObject::connect(buttons, &QDialogButtonBox::rejected, &box, &QDialog::reject);
    box.exec();
    return answer;
}

qsizetype QtDialogs::askChoice(QWidget* parent, const QString& title, const QString& text,
                              const QStringList& choices)
{
    if (m_ended) return choices.size();
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

std::optional<qsizetype> QtDialogs::chooseItem(QWidget* parent, const QString& title, const QString& text,
                                               const QStringList& items)
{
    if (m_ended || items.isEmpty()) return std::nullopt;
    QDialog box(parent);
    box.setWindowTitle(title);
    auto* list = new QListWidget(&box);
    list->setObjectName(QStringLiteral("lstItems"));
    list->setAccessibleName(text);
    list->addItems(items);
    list->setCurrentRow(0);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &box);
    auto* layout = new QVBoxLayout(&box);
    auto* label = new QLabel(text, &box);
    label->setBuddy(list);
    layout->addWidget(label);
    layout->addWidget(list);
    layout->addWidget(buttons);
    QObject::connect(list, &QListWidget::itemActivated, &box, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &box, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &box, &QDialog::reject);
    if (box.exec() != QDialog::Accepted || list->currentRow() < 0) return std::nullopt;
    return list->currentRow();
}

void QtDialogs::showMessage(QWidget* parent, MessageIcon icon, const QString& title, const QString& text)
{
    if (m_ended) return;
    QMessageBox box(icon == MessageIcon::Critical ? QMessageBox::Critical : QMessageBox::Warning, title, text,
                    QMessageBox::Ok, parent);
    box.exec();
}

// The explanation opens over the error box's place once the box is closed, so
// that the message and the selected line stay in view beside it.
void QtDialogs::showRunError(QWidget* parent, const QString& title, const QString& text, const QString& help)
{
    if (m_ended) return;
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
    if (m_ended) return {};
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
    if (m_ended) return std::nullopt;
    QInputDialog box(parent);
    box.setWindowTitle(title);
    box.setLabelText(prompt.question.isEmpty() ? prompt.text : prompt.question + QLatin1Char('\n') + prompt.text);
    box.setInputMode(QInputDialog::TextInput);
    if (prompt.stop) {
        (void)box.okButtonText();  // the box lays out its buttons only when first asked about them
        if (auto* buttons = box.findChild<QDialogButtonBox*>()) {
            QPushButton* stop = buttons->addButton(QStringLiteral("停止运行"), QDialogButtonBox::ActionRole);
            stop->setObjectName(QStringLiteral("cmdStopRun"));
            stop->setToolTip(QStringLiteral("结束程序，不再回答 (Ctrl+F2)"));
            QObject::connect(stop, &QPushButton::clicked, &box, [&box, &prompt] {
                prompt.stop();
                box.reject();
            });
        }
    }
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

void QtDialogs::endQuestions()
{
    m_ended = true;
}

}  // namespace tarnik
