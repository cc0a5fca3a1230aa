#pragma once
// The About window: fades in to nearly opaque, stays above the other windows
// while open, and fades out when it closes; a click in its frame closes it.
// It lives only while open (it deletes itself when closed).
#include <QPropertyAnimation>
#include <QWidget>
#include <memory>

namespace Ui {
class frmAbout;
}

namespace tarnik {

class frmAbout : public QWidget {
    Q_OBJECT

public:
    explicit frmAbout(QWidget* mainWindow);
    ~frmAbout() override;

    // Opacity the fade-in ends at, out of 255.
    static constexpr int kOpacity = 240;

    void showFadingIn();

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private slots:
    void Frame1_Click();

private:
    void FadeOut();

    std::unique_ptr<Ui::frmAbout> ui;
    QPropertyAnimation m_fade;
    bool m_fadedOut = false;
};

}  // namespace tarnik
