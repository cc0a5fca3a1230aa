#pragma once
// What a screen reader should say without the focus moving there: a run's
// start and end, an error, the console's newest line. Qt before 6.8 has no
// announcement event, so this small label in the status bar is an alert to
// the accessibility bridge: each announcement becomes its text and name and
// it is shown anew, which Orca and NVDA read out as they read an alert.
// Console lines come in bursts; only the newest is said, a few times a
// second at most, so that the reader does not fall behind the program.
#include <QLabel>
#include <QString>
#include <QTimer>

namespace tarnik {

class Announcer : public QLabel {
    Q_OBJECT

public:
    static constexpr int kLineIntervalMs = 400;

    explicit Announcer(QWidget* parent = nullptr);

    // Said now; a console line still waiting is said first, as it came first.
    void announce(const QString& text);
    // Said when the last line said is kLineIntervalMs old; a newer line replaces it.
    void announceLine(const QString& line);

signals:
    // Each announcement as it is given to the accessibility bridge.
    void said(const QString& text);

private:
    void sayPendingLine();
    void say(const QString& text);

    QTimer m_lineDelay;
    QString m_pendingLine;
};

}  // namespace tarnik
