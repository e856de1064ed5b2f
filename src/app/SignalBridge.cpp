#include "app/SignalBridge.h"

#include <errno.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/socket.h>
#include <unistd.h>

#include <QSocketNotifier>

namespace mdb {

namespace {

int pipeEnds[2] = {-1, -1};  // [0] written by the handler, [1] read by the event loop
constexpr int kSignals[] = {SIGTERM, SIGHUP, SIGINT};

extern "C" void onSignal(int signal) {
    const int saved = errno;
    const char number = char(signal);
    // nothing else is safe here; a full pipe already holds a request to end
    [[maybe_unused]] const ssize_t n = ::write(pipeEnds[0], &number, 1);
    errno = saved;
}

}  // namespace

SignalBridge::SignalBridge(QObject* parent) : QObject(parent) {
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0, pipeEnds) != 0) {
        pipeEnds[0] = pipeEnds[1] = -1;
        return;  // the signals keep their default action
    }
    notifier_ = new QSocketNotifier(pipeEnds[1], QSocketNotifier::Read, this);
    connect(notifier_, &QSocketNotifier::activated, this, &SignalBridge::readPipe);
    struct sigaction action {};
    action.sa_handler = onSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (int signal : kSignals) ::sigaction(signal, &action, nullptr);
}

SignalBridge::~SignalBridge() {
    if (pipeEnds[0] < 0) return;
    struct sigaction action {};
    action.sa_handler = SIG_DFL;
    sigemptyset(&action.sa_mask);
    for (int signal : kSignals) ::sigaction(signal, &action, nullptr);
    delete notifier_;
    ::close(pipeEnds[0]);
    ::close(pipeEnds[1]);
    pipeEnds[0] = pipeEnds[1] = -1;
}

void SignalBridge::readPipe() {
    char numbers[16];
    const ssize_t n = ::read(pipeEnds[1], numbers, sizeof numbers);
    for (ssize_t i = 0; i < n; ++i) emit endRequested(numbers[i]);
}

}  // namespace mdb
