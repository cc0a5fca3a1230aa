#include "ui/run/InputDataPanel.h"

#include <QAction>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QPlainTextEdit>
#include <QUrl>
#include <QVBoxLayout>

#include "ui/TextZoom.h"
#include "ui/storage/TarnikSettings.h"

namespace tarnik {
namespace {

const QString kSettingsGroup = QStringLiteral("InputData");

}  // namespace

InputDataPanel::InputDataPanel(QWidget* parent, TextZoom& zoom)
    : QDockWidget(QStringLiteral("输入数据"), parent), m_text(new QPlainTextEdit(this)), m_notKept(new QLabel(this))
{
    setObjectName(QStringLiteral("dockInputData"));
    m_text->setObjectName(QStringLiteral("txtInputData"));
    m_text->setPlaceholderText(QStringLiteral("每行一个答案。显示本面板时，INPUT 依次使用这些答案；用完后再弹出输入框。"));
    m_text->setLineWrapMode(QPlainTextEdit::NoWrap);
    m_text->setAccessibleName(QStringLiteral("输入数据"));
    m_text->setAccessibleDescription(m_text->placeholderText());
    zoom.attach(*m_text);
    m_notKept->setObjectName(QStringLiteral("lblInputDataNotKept"));
    m_notKept->setWordWrap(true);
    m_notKept->hide();
    auto* content = new QWidget(this);
    auto* layout = new QVBoxLayout(content);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_text);
    layout->addWidget(m_notKept);
    setWidget(content);
    toggleViewAction()->setText(QStringLiteral("输入数据(&D)"));
    toggleViewAction()->setToolTip(QStringLiteral("显示时，INPUT 从这里按行取答案"));
    connect(m_text, &QPlainTextEdit::textChanged, this, &InputDataPanel::keepText);
    // Shown from the menu, the panel is where the user goes on typing.
    connect(toggleViewAction(), &QAction::triggered, this, [this](bool shown) {
        if (shown) m_text->setFocus();
    });
}

std::deque<QString> InputDataPanel::answers() const
{
    std::deque<QString> lines;
    for (const QString& line : m_text->toPlainText().split(QLatin1Char('\n'))) {
        if (!line.isEmpty()) lines.push_back(line);
    }
    return lines;
}

void InputDataPanel::setAnswers(const QString& lines)
{
    m_text->setPlainText(lines);
}

void InputDataPanel::followProgram(const QString& programPath)
{
    const QString path = programPath.isEmpty() ? QString() : QFileInfo(programPath).absoluteFilePath();
    if (path == m_programPath) return;
    const bool wasUnsaved = m_programPath.isEmpty();
    m_programPath = path;
    QSettings store = tarnikSettings();
    store.beginGroup(kSettingsGroup);
    const QVariant kept = path.isEmpty() ? QVariant() : store.value(settingsKey(path));
    if (!kept.isValid() && wasUnsaved) {
        keepText();  // a program saved for the first time takes its answers along
        return;
    }
    m_loading = true;
    m_text->setPlainText(kept.toString());
    m_loading = false;
}

void InputDataPanel::keepText()
{
    if (m_loading || m_programPath.isEmpty()) return;
    QSettings store = tarnikSettings();
    store.beginGroup(kSettingsGroup);
    if (m_text->toPlainText().isEmpty()) {
        store.remove(settingsKey(m_programPath));
    } else {
        store.setValue(settingsKey(m_programPath), m_text->toPlainText());
    }
    // Said where the answers are typed, for as long as they are not kept.
    const bool kept = storeSettings(store);
    m_notKept->setVisible(!kept);
    if (!kept) {
        m_notKept->setText(QStringLiteral("⚠ 无法把这些答案写入设置文件 %1，关闭 Tarnik 后它们会丢失。")
                               .arg(QDir::toNativeSeparators(store.fileName())));
    }
}

// A path's separators would otherwise make nested groups.
QString InputDataPanel::settingsKey(const QString& programPath)
{
    return QString::fromLatin1(QUrl::toPercentEncoding(programPath));
}

}  // namespace tarnik
