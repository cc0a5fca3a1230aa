#include "ui/run/WatchPanel.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShortcut>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "interp/RunController.h"
#include "ui/EditorText.h"
#include "ui/Theme.h"

namespace tarnik {

WatchPanel::WatchPanel(RunController& controller, QWidget* parent)
    : QWidget(parent), m_controller(controller), m_list(new QTreeWidget(this)), m_expression(new QLineEdit(this))
{
    m_list->setObjectName(QStringLiteral("lvWatch"));
    m_list->setAccessibleName(QStringLiteral("监视"));
    m_list->setHeaderLabels({QStringLiteral("监视"), QStringLiteral("值")});
    m_list->setRootIsDecorated(false);
    m_list->setToolTip(QStringLiteral("每次暂停都在变量的副本上计算，不会改变程序的变量。选中一行按 Delete 删除。"));
    m_list->header()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
    m_expression->setObjectName(QStringLiteral("txtWatch"));
    m_expression->setPlaceholderText(QStringLiteral("要监视的表达式，如 s / n"));
    m_expression->setAccessibleName(QStringLiteral("要监视的表达式"));
    m_list->setAccessibleDescription(m_list->toolTip());
    auto* add = new QPushButton(QStringLiteral("添加监视"), this);
    add->setObjectName(QStringLiteral("cmdAddWatch"));
    add->setAutoDefault(false);
    connect(add, &QPushButton::clicked, this, &WatchPanel::addWatch);
    connect(m_expression, &QLineEdit::returnPressed, this, &WatchPanel::addWatch);
    auto* remove = new QShortcut(QKeySequence::Delete, m_list, nullptr, nullptr, Qt::WidgetShortcut);
    connect(remove, &QShortcut::activated, this, &WatchPanel::removeSelected);

    auto* entry = new QHBoxLayout;
    entry->addWidget(m_expression, 1);
    entry->addWidget(add);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_list, 1);
    layout->addLayout(entry);
    connect(&Theme::instance(), &Theme::changed, this, &WatchPanel::refresh);
    refresh();
}

void WatchPanel::refresh()
{
    m_list->clear();
    const std::vector<std::u16string>& expressions = m_controller.watches();
    const std::vector<WatchResult> values = m_controller.watchValues();
    for (std::size_t i = 0; i < expressions.size(); ++i) {
        auto* row = new QTreeWidgetItem(m_list, {toQString(expressions[i]), toQString(values[i].text)});
        row->setToolTip(1, toQString(values[i].text));
        if (!values[i].ok) row->setForeground(1, Theme::instance().colour(ThemeColour::ErrorText));
    }
}

void WatchPanel::addWatch()
{
    const QString expression = m_expression->text().trimmed();
    if (expression.isEmpty()) return;
    std::vector<std::u16string> expressions = m_controller.watches();
    expressions.push_back(expression.toStdU16String());
    m_controller.setWatches(std::move(expressions));
    m_expression->clear();
    refresh();
}

void WatchPanel::removeSelected()
{
    const int index = m_list->indexOfTopLevelItem(m_list->currentItem());
    if (index < 0) return;
    std::vector<std::u16string> expressions = m_controller.watches();
    expressions.erase(expressions.begin() + index);
    m_controller.setWatches(std::move(expressions));
    refresh();
}

}  // namespace tarnik
