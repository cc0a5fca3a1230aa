// 视图's 演示模式, its 演示比例 and 主题. The look itself is PresentationMode's
// and Theme's, shared by every window; here are only the commands.
#include <QAction>
#include <QActionGroup>
#include <QMenu>
#include <QToolBar>

#include "ui/PresentationMode.h"
#include "ui/Theme.h"
#include "ui/frmMain.h"
#include "ui/run/frmResult.h"
#include "ui_frmMain.h"

namespace tarnik {
namespace {

constexpr int kToolBarIconSize = 24;

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
    createPresentationCommands();
    createThemeMenu();
}

// The switch works in the console too, where a class often looks.
void frmMain::createPresentationCommands()
{
    PresentationMode& mode = PresentationMode::instance();
    auto* presentation = ui->mnuView->addAction(QStringLiteral("演示模式(&P)"));
    presentation->setObjectName(QStringLiteral("mnuViewPresentation"));
    presentation->setCheckable(true);
    presentation->setChecked(mode.isOn());
    presentation->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_P));
    presentation->setToolTip(QStringLiteral("演示模式 (Ctrl+Shift+P)：所有窗口的文字、图标和列表一起放大，便于投影；"
                                            "放大比例在“演示比例”中选择，平时的字号不变"));
    connect(presentation, &QAction::toggled, &mode, &PresentationMode::setOn);
    m_result->addAction(presentation);

    QMenu* scales = ui->mnuView->addMenu(QStringLiteral("演示比例(&S)"));
    scales->setObjectName(QStringLiteral("mnuViewPresentationScale"));
    QActionGroup* group = radioGroup(*scales);
    for (int percent : PresentationMode::kPercents) {
        QAction* item = radioItem(*scales, *group, QStringLiteral("%1%").arg(percent), percent == mode.percent());
        item->setObjectName(QStringLiteral("mnuViewPresentation%1").arg(percent));
        item->setToolTip(QStringLiteral("演示模式中放大到平时的 %1%").arg(percent));
        connect(item, &QAction::triggered, &mode, [presentation, percent] {
            PresentationMode::instance().setPercent(percent);
            presentation->setChecked(true);
        });
    }
    connect(&mode, &PresentationMode::changed, this, &frmMain::followPresentation);
    followPresentation();
}

void frmMain::followPresentation()
{
    const int side = PresentationMode::instance().scaled(kToolBarIconSize);
    ui->tbToolBar->setIconSize(QSize(side, side));
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
