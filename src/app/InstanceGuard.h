#pragma once

#include <QLockFile>
#include <QObject>
#include <QPointer>
#include <memory>
#include <optional>

class QLocalServer;
class QWidget;

namespace mdb {

// Decides whether this process is the first editor of the user. Abstract so that tests of the
// window can do without one.
class InstanceGuard {
public:
    virtual ~InstanceGuard() = default;
    // True when another instance already runs; it has then been asked to come forward. Asked
    // again, it gives the same answer without asking anyone again.
    virtual bool anotherInstanceRunning() = 0;
    // The window to bring forward when a later start asks for it.
    virtual void setWindow(QWidget* window) = 0;
};

// One instance per user: the owner of a lock file in the user's runtime folder listens on a
// local socket beside it; a later start connects there, asks the owner to come forward and
// ends. A lock or socket left by a crashed run is taken over.
class SingleInstanceGuard : public QObject, public InstanceGuard {
    Q_OBJECT
public:
    // `folder` defaults to the user's runtime folder.
    explicit SingleInstanceGuard(const QString& folder = {}, QObject* parent = nullptr);
    ~SingleInstanceGuard() override;

    bool anotherInstanceRunning() override;
    void setWindow(QWidget* window) override { window_ = window; }

    QString socketPath() const { return socketPath_; }

private:
    bool decide();
    bool askOwnerToComeForward();
    void bringWindowForward();

    QString socketPath_;
    std::unique_ptr<QLockFile> lock_;
    QLocalServer* server_ = nullptr;
    QPointer<QWidget> window_;
    std::optional<bool> answer_;
};

}  // namespace mdb
