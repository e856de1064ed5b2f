#pragma once

#include <QDir>
#include <QObject>
#include <functional>
#include <vector>

#include "model/MonsterDatabase.h"
#include "storage/FileIdentity.h"

namespace mdb {

class MessageSink;
struct StorageError;

// The overwrite-save: writes the seven monster tables back to their files. A successful save
// says nothing; a failure is always reported with the file, its cause and which files hold their
// new and which their old content.
class SaveCommand : public QObject {
    Q_OBJECT
public:
    SaveCommand(const QDir& dir, const MonsterDatabase& db, MessageSink& messages,
                QObject* parent = nullptr);

    // Whether every file was written; a failure has been reported.
    bool SaveDatabase();

    // Asked before anything is written: whether the save may go on. It gives what each file held
    // when it was asked, and the save stops at a file that holds anything else by the time it is
    // to be replaced.
    using WriteCheck = std::function<bool(std::vector<FileIdentity>& seen)>;
    void setWriteCheck(WriteCheck mayWrite) { mayWrite_ = std::move(mayWrite); }

    // The message for a failed save of the database in `folder`, as shown to the user.
    static QString describeFailure(const StorageError& error, const MonsterDatabase& db,
                                   const QString& folder);

signals:
    // Every file written: their names, in the order written.
    void saved(const QStringList& files);
    // The save stopped at `fileName`; the user has been told why.
    void failed(const QString& fileName);
    // The save wrote files, or tried to: whether all of them were written, and the identities
    // of those that hold what it wrote (in save order), taken from the bytes as written.
    void wrote(bool succeeded, const std::vector<mdb::FileIdentity>& written);

private:
    QDir dir_;
    const MonsterDatabase& db_;
    MessageSink& messages_;
    WriteCheck mayWrite_;
};

}  // namespace mdb
