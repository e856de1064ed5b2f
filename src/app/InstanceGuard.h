#pragma once

#include <QLockFile>
#include <QObject>
#include <QPointer>
#include <QString>
#include <functional>
#include <memory>
#include <optional>

class QLocalServer;
class QLocalSocket;
class QWidget;

namespace mdb {

// Decides whether this process is the first editor of the user. Abstract so that tests of the
// window can do without one.
class InstanceGuard {
public:
    virtual ~InstanceGuard() = default;
    // True when another instance already runs; it has then been asked to come forward, and told
    // `folder`, the database folder this start was for (empty: none chosen yet). Asked again,
    // it gives the same answer without asking anyone again.
    virtual bool anotherInstanceRunning(const QString& folder = {}) = 0;
    // After anotherInstanceRunning: the folder the running instance has open when it is not the
    // one this start was for (it then tells its user so); empty otherwise.
    virtual QString otherFolderOpen() const { return {}; }
    // The window to bring forward when a later start asks for it, the folder it has open, and
    // what to do when a later start was for another folder, which is then not opened.
    virtual void setWindow(QWidget* window, const QString& folder = {},
                           std::function<void(const QString& refused)> refusedFolder = {}) = 0;
};

// One instance per user: the owner of a lock file in the user's runtime folder listens on a
// local socket beside it; a later start connects there, asks the owner to come forward and
// ends. A later start for another folder learns which folder the owner has open, and the owner
// tells its user that the other folder was not opened. A lock or socket left by a crashed run
// is taken over.
class SingleInstanceGuard : public QObject, public InstanceGuard {
    Q_OBJECT
public:
    // `folder` defaults to the user's runtime folder.
    explicit SingleInstanceGuard(const QString& folder = {}, QObject* parent = nullptr);
    ~SingleInstanceGuard() override;

    bool anotherInstanceRunning(const QString& folder = {}) override;
    QString otherFolderOpen() const override { return otherFolder_; }
    void setWindow(QWidget* window, const QString& folder = {},
                   std::function<void(const QString&)> refusedFolder = {}) override;

    QString socketPath() const { return socketPath_; }

private:
    bool decide(const QString& folder);
    bool askOwnerToComeForward(const QString& folder);
    void answer(QLocalSocket* peer);
    void bringWindowForward();

    QString socketPath_;
    std::unique_ptr<QLockFile> lock_;
    QLocalServer* server_ = nullptr;
    QPointer<QWidget> window_;
    QString folder_;  // the owner's open folder
    std::function<void(const QString&)> refusedFolder_;
    QString otherFolder_;  // a later start's: the owner's, if not its own
    std::optional<bool> answer_;
};

}  // namespace mdb
