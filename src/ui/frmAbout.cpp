#include "ui/frmAbout.h"

#include <QCloseEvent>
#include <QMouseEvent>

#include "app/BuildInfo.h"
#include "ui/ChineseUi.h"
#include "ui/Twips.h"
#include "ui_frmAbout.h"

namespace tarnik {
namespace {

// 61 steps of 5 ms in, 49 out.
constexpr int kFadeInMs = 305;
constexpr int kFadeOutMs = 245;
// 50 twips right and 30 twips below the main window's corner.
constexpr QPoint kOffsetFromMain{pixelsFromTwips(50), pixelsFromTwips(30)};

}  // namespace

frmAbout::frmAbout(QWidget* mainWindow)
    : QWidget(mainWindow, Qt::Window | Qt::WindowStaysOnTopHint), ui(std::make_unique<Ui::frmAbout>()),
      m_fade(this, "windowOpacity")
{
    ui->setupUi(this);
    setAttribute(Qt::WA_DeleteOnClose);
    ui->Label1->setFont(uiFont({QStringLiteral("Microsoft YaHei"), QStringLiteral("微软雅黑")}, font().pointSize()));
    // The box's own words stay as they always were; the build it belongs to
    // is named where it can be looked up, as tarnik --version names it.
    ui->Label1->setToolTip(QStringLiteral("程序版本 %1（与 tarnik --version 相同）").arg(QLatin1String(kVersion)));
    move(mainWindow->pos() + kOffsetFromMain);
    ui->Frame1->installEventFilter(this);
    connect(&m_fade, &QPropertyAnimation::finished, this, [this] {
        if (m_fadedOut) close();
    });
}

frmAbout::~frmAbout() = default;

void frmAbout::showFadingIn()
{
    if (isVisible()) {
        raise();
        activateWindow();
        return;
    }
    setWindowOpacity(0);
    show();
    m_fade.setDuration(kFadeInMs);
    m_fade.setStartValue(0.0);
    m_fade.setEndValue(kOpacity / 255.0);
    m_fade.start();
}

void frmAbout::closeEvent(QCloseEvent* event)
{
    if (m_fadedOut && m_fade.state() != QAbstractAnimation::Running) {
        event->accept();
        return;
    }
    event->ignore();
    FadeOut();
}

void frmAbout::FadeOut()
{
    if (m_fadedOut) return;
    m_fadedOut = true;
    ui->Frame1->setEnabled(false);
    m_fade.stop();
    m_fade.setDuration(kFadeOutMs);
    m_fade.setStartValue(windowOpacity());
    m_fade.setEndValue(0.0);
    m_fade.start();
}

// A click on the frame, or on a label in it (labels pass clicks on), closes
// the window.
bool frmAbout::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == ui->Frame1 && event->type() == QEvent::MouseButtonRelease) Frame1_Click();
    return QWidget::eventFilter(watched, event);
}

void frmAbout::Frame1_Click()
{
    close();
}

}  // namespace tarnik
