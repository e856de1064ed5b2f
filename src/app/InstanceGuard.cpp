#include "app/InstanceGuard.h"

#include <unistd.h>

#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>
#include <QStandardPaths>
#include <QThread>
#include <QTimer>
#include <QWidget>

namespace mdb {

namespace {

const QByteArray kComeForward = QByteArrayLiteral("come-forward\n");

// Whether two paths name one folder; a start that named none is for whatever is open.
bool sameFolder(const QString& a, const QString& b) {
    if (a.isEmpty() || b.isEmpty()) return true;
    const QString canonicalA = QFileInfo(a).canonicalFilePath();
    const QString canonicalB = QFileInfo(b).canonicalFilePath();
    if (canonicalA.isEmpty() || canonicalB.isEmpty()) {
        return QDir::cleanPath(QFileInfo(a).absoluteFilePath()) ==
               QDir::cleanPath(QFileInfo(b).absoluteFilePath());
    }
    return canonicalA == canonicalB;
}

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

bool SingleInstanceGuard::anotherInstanceRunning(const QString& folder) {
    // the start asks before its folder dialog and again in the window's load step
    if (answer_) return *answer_;
    answer_ = decide(folder);
    return *answer_;
}

void SingleInstanceGuard::setWindow(QWidget* window, const QString& folder,
                                    std::function<void(const QString&)> refusedFolder) {
    window_ = window;
    folder_ = folder;
    refusedFolder_ = std::move(refusedFolder);
}

bool SingleInstanceGuard::decide(const QString& folder) {
    if (lock_->tryLock(0)) {
        // the lock is ours: whatever socket is left belongs to a run that crashed
        QLocalServer::removeServer(socketPath_);
        server_ = new QLocalServer(this);
        server_->setSocketOptions(QLocalServer::UserAccessOption);
        if (server_->listen(socketPath_)) {
            connect(server_, &QLocalServer::newConnection, this, [this] {
                while (QLocalSocket* peer = server_->nextPendingConnection()) {
                    connect(peer, &QLocalSocket::readyRead, this, [this, peer] { answer(peer); });
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
    askOwnerToComeForward(folder);
    return true;
}

// A later start's request: the request line and the folder it was for, each ended by a line
// end; the answer says whether that folder is the one open here, and if not, which one is.
void SingleInstanceGuard::answer(QLocalSocket* peer) {
    if (peer->property("answered").toBool()) return;
    const QByteArray request = peer->peek(64 * 1024);
    if (request.count('\n') < 2) return;  // the rest is on its way
    peer->setProperty("answered", true);
    const QList<QByteArray> lines = request.split('\n');
    if (lines.value(0) != kComeForward.trimmed()) {
        peer->disconnectFromServer();
        return;
    }
    const QString asked = QString::fromUtf8(lines.value(1));
    bringWindowForward();
    if (sameFolder(asked, folder_)) {
        peer->write("same\n");
    } else {
        peer->write("other\n" + folder_.toUtf8() + '\n');
        // told once the later start has its answer: the message waits for its OK
        if (refusedFolder_) {
            QTimer::singleShot(0, this, [this, asked] {
                if (refusedFolder_) refusedFolder_(asked);
            });
        }
    }
    peer->flush();
    peer->disconnectFromServer();
}

bool SingleInstanceGuard::askOwnerToComeForward(const QString& folder) {
    // the owner may hold the lock but not listen yet while it starts: try for a moment
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < 3000) {
        QLocalSocket socket;
        socket.connectToServer(socketPath_);
        if (socket.waitForConnected(500)) {
            socket.write(kComeForward + folder.toUtf8() + '\n');
            socket.waitForBytesWritten(1000);
            // the owner answers and hangs up
            QByteArray reply;
            QElapsedTimer waiting;
            waiting.start();
            while (waiting.elapsed() < 2000 && socket.state() == QLocalSocket::ConnectedState &&
                   reply.count('\n') < 2) {
                if (socket.waitForReadyRead(200)) reply += socket.readAll();
            }
            reply += socket.readAll();
            const QList<QByteArray> lines = reply.split('\n');
            if (lines.value(0) == "other") otherFolder_ = QString::fromUtf8(lines.value(1));
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
