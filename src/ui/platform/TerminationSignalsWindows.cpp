// A windowed program on Windows gets no SIGTERM at a logout or shutdown: the
// session manager asks it to keep its data (WM_QUERYENDSESSION, which Qt
// turns into commitDataRequest). That request stands for the same end.
#include "ui/TerminationSignals.h"

#include <QGuiApplication>
#include <csignal>

namespace tarnik {

TerminationSignals::TerminationSignals(QObject* parent) : QObject(parent)
{
    auto* application = qobject_cast<QGuiApplication*>(QCoreApplication::instance());
    if (application == nullptr) return;
    connect(application, &QGuiApplication::commitDataRequest, this, [this] { emit received(SIGTERM); });
}

TerminationSignals::~TerminationSignals() = default;

}  // namespace tarnik
