// 视图's 主题. The look itself is Theme's, shared by every window; here is
// only the command.
#include <QAction>
#include <QActionGroup>
#include <QMenu>

#include "ui/Theme.h"
#include "ui/frmMain.h"
#include "ui_frmMain.h"

namespace tarnik {
namespace {

struct ThemeCommand {
    ThemeChoice choice;
    const char* name;
    const char* text;
    const char* toolTip;
};

constexpr ThemeCommand kThemeCommands[] = {
    {ThemeChoice::System, "mnuViewThemeSystem", "跟随系统(&S)",
     "使用桌面自己的样式和颜色。这个版本的 Qt 看不出桌面是浅色还是深色，需要时请直接选择浅色或深色"},
    {ThemeChoice::Light, "mnuViewThemeLight", "浅色(&L)", "白底黑字"},
    {ThemeChoice::Dark, "mnuViewThemeDark", "深色(&D)", "深色背景、浅色文字，适合光线较暗的机房"},
    {ThemeChoice::HighContrast, "mnuViewThemeHighContrast", "高对比度(&H)", "纯黑背景、白色文字，颜色最鲜明"},
};

// Radio items in `menu`, one checked.
QActionGroup* radioGroup(QMenu& menu)
{
    auto* group = new QActionGroup(&menu);
    group->setExclusive(true);
    menu.setToolTipsVisible(true);
    return group;
}

QAction* radioItem(QMenu& menu, QActionGroup& group, const QString& text, bool checked)
{
    QAction* item = menu.addAction(text);
    item->setCheckable(true);
    item->setChecked(checked);
    group.addAction(item);
    return item;
}

}  // namespace

void frmMain::createViewCommands()
{
    ui->mnuView->addSeparator();
    createThemeMenu();
}

void frmMain::createThemeMenu()
{
    QMenu* themes = ui->mnuView->addMenu(QStringLiteral("主题(&H)"));
    themes->setObjectName(QStringLiteral("mnuViewTheme"));
    QActionGroup* group = radioGroup(*themes);
    for (const ThemeCommand& command : kThemeCommands) {
        QAction* item = radioItem(*themes, *group, QString::fromUtf8(command.text),
                                  command.choice == Theme::instance().choice());
        item->setObjectName(QLatin1String(command.name));
        item->setToolTip(QString::fromUtf8(command.toolTip));
        connect(item, &QAction::triggered, this, [choice = command.choice] { Theme::instance().choose(choice); });
    }
}

}  // namespace tarnik
