#include "app/InstanceGuard.h"

#include <unistd.h>

#include <QDir>
#include <QElapsedTimer>
#include <QLocalServer>
#include <QLocalSocket>
#include <QStandardPaths>
#include <QThread>
#include <QWidget>

namespace mdb {

namespace {

const QByteArray kComeForward = QByteArrayLiteral("come-forward\n");

QString defaultFolder() {
    QString folder = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (folder.isEmpty()) folder = QDir::tempPath();
    return folder;
}

}  // namespace

SingleInstanceGuard::SingleInstanceGuard(const QString& folder, QObject* parent) : QObject(parent) {
    const QString base = (folder.isEmpty() ? defaultFolder() : folder) +
                         QStringLiteral("/monster-db-editor-") + QString::number(getuid());
    socketPath_ = base + QStringLiteral(".sock");
    lock_ = std::make_unique<QLockFile>(base + QStringLiteral(".lock"));
    // a lock is stale only when its owner is gone, however long it has been held
    lock_->setStaleLockTime(0);
}

SingleInstanceGuard::~SingleInstanceGuard() {
    if (server_) server_->close();
}

bool SingleInstanceGuard::anotherInstanceRunning() {
    // the start asks before its folder dialog and again in the window's load step
    if (answer_) return *answer_;
    answer_ = decide();
    return *answer_;
}

bool SingleInstanceGuard::decide() {
    if (lock_->tryLock(0)) {
        // the lock is ours: whatever socket is left belongs to a run that crashed
        QLocalServer::removeServer(socketPath_);
        server_ = new QLocalServer(this);
        server_->setSocketOptions(QLocalServer::UserAccessOption);
        if (server_->listen(socketPath_)) {
            connect(server_, &QLocalServer::newConnection, this, [this] {
                while (QLocalSocket* peer = server_->nextPendingConnection()) {
                    connect(peer, &QLocalSocket::readyRead, this, [this, peer] {
                        if (peer->readAll().contains(kComeForward.trimmed())) {
                            bringWindowForward();
                        }
                        peer->disconnectFromServer();
                    });
                    connect(peer, &QLocalSocket::disconnected, peer, &QObject::deleteLater);
                }
            });
        }
        return false;
    }
    if (lock_->error() != QLockFile::LockFailedError) {
        // the runtime folder is unusable: better a second window than no editor at all
        return false;
    }
    askOwnerToComeForward();
    return true;
}

bool SingleInstanceGuard::askOwnerToComeForward() {
    // the owner may hold the lock but not listen yet while it starts: try for a moment
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < 3000) {
        QLocalSocket socket;
        socket.connectToServer(socketPath_);
        if (socket.waitForConnected(500)) {
            socket.write(kComeForward);
            socket.waitForBytesWritten(1000);
            socket.waitForDisconnected(500);
            return true;
        }
        QThread::msleep(100);
    }
    return false;
}

void SingleInstanceGuard::bringWindowForward() {
    if (!window_) return;
    if (window_->isMinimized()) window_->showNormal();
    window_->raise();
    window_->activateWindow();
}

}  // namespace mdb
