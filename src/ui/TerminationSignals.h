#pragma once
// SIGTERM, SIGHUP and SIGINT (a logout, a shutdown, Ctrl+C in a terminal) as
// a Qt signal, so that the IDE can keep unsaved text before it ends. The
// handler only writes the signal's number into a socket pair (the self-pipe
// technique: nothing else is safe in a handler); the event loop reads it
// there and emits received().
#include <QObject>
#include <QSocketNotifier>
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
    void readSignal();

    std::unique_ptr<QSocketNotifier> m_notifier;
};

}  // namespace tarnik
