#pragma once

#include <QObject>

class QSocketNotifier;

namespace mdb {

// Turns SIGTERM, SIGHUP and SIGINT (a logout, a shutdown, a service manager, Ctrl+C in the
// terminal) into an event of the window's thread. The handler only writes the signal's number
// to a pipe; a socket notifier reads it in the event loop and emits endRequested. One bridge
// at a time; destroying it gives the signals back their default action.
class SignalBridge : public QObject {
    Q_OBJECT
public:
    explicit SignalBridge(QObject* parent = nullptr);
    ~SignalBridge() override;

signals:
    void endRequested(int signal);

private:
    void readPipe();
    QSocketNotifier* notifier_ = nullptr;
};

}  // namespace mdb
