#pragma once
// The end of the session or of the process asked for from outside (a logout,
// a shutdown, a kill, Ctrl+C in a terminal) as a Qt signal, so that the IDE
// can keep unsaved text before it ends. How it arrives differs between
// platforms (platform/TerminationSignals*.cpp): SIGTERM, SIGHUP and SIGINT
// on POSIX, the session manager's request on Windows.
#include <QObject>
#include <memory>

namespace tarnik {

class TerminationSignals : public QObject {
    Q_OBJECT

public:
    // One per process: it owns the handlers of the three signals.
    explicit TerminationSignals(QObject* parent = nullptr);
    ~TerminationSignals() override;

signals:
    void received(int signalNumber);

private:
    std::unique_ptr<QObject> m_listener;  // whatever the platform listens with
};

}  // namespace tarnik
