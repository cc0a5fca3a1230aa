#include "ui/InputDataPanel.h"

#include <QAction>
#include <QFileInfo>
#include <QPlainTextEdit>
#include <QSettings>
#include <QUrl>

#include "ui/TextZoom.h"

namespace tarnik {
namespace {

const QString kSettingsApplication = QStringLiteral("Tarnik");
const QString kSettingsGroup = QStringLiteral("InputData");

}  // namespace

InputDataPanel::InputDataPanel(QWidget* parent, TextZoom& zoom)
    : QDockWidget(QStringLiteral("输入数据"), parent), m_text(new QPlainTextEdit(this))
{
    setObjectName(QStringLiteral("dockInputData"));
    m_text->setObjectName(QStringLiteral("txtInputData"));
    m_text->setPlaceholderText(QStringLiteral("每行一个答案。显示本面板时，INPUT 依次使用这些答案；用完后再弹出输入框。"));
    m_text->setLineWrapMode(QPlainTextEdit::NoWrap);
    zoom.attach(*m_text);
    setWidget(m_text);
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

void InputDataPanel::followProgram(const QString& programPath)
{
    const QString path = programPath.isEmpty() ? QString() : QFileInfo(programPath).absoluteFilePath();
    if (path == m_programPath) return;
    const bool wasUnsaved = m_programPath.isEmpty();
    m_programPath = path;
    QSettings store(kSettingsApplication, kSettingsApplication);
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
    QSettings store(kSettingsApplication, kSettingsApplication);
    store.beginGroup(kSettingsGroup);
    if (m_text->toPlainText().isEmpty()) {
        store.remove(settingsKey(m_programPath));
    } else {
        store.setValue(settingsKey(m_programPath), m_text->toPlainText());
    }
}

// A path's separators would otherwise make nested groups.
QString InputDataPanel::settingsKey(const QString& programPath)
{
    return QString::fromLatin1(QUrl::toPercentEncoding(programPath));
}

}  // namespace tarnik
