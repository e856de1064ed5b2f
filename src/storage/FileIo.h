#pragma once

#include <sys/stat.h>
#include <sys/types.h>

#include <QByteArray>
#include <functional>

namespace mdb::fileio {

// Every step of writing a database file goes through these calls, so that a test can make any
// one of them fail as a full disk or a failing device would. They behave as the POSIX calls of
// the same names: -1 with errno set on failure.
enum class Op {
    OpenTemp,     // creating the temporary file of a save
    Open,         // opening an existing file to rewrite or append to it
    Stat,         // the size and mode of an open file
    Read,         // reading a file before it is changed
    Chmod,        // giving the temporary file the old file's permissions
    Allocate,     // reserving the space of a rewrite in place
    Write,        // one write of bytes
    Resize,       // setting a rewritten file's length
    Sync,         // fdatasync of a file
    SyncFolder,   // fsync of the folder after a rename
    Close,        // closing a written file
    Rename,       // putting the temporary file in place of the old one
    Chown,        // giving the temporary file the old file's owner and group
    Attribute,    // giving the temporary file one of the old file's extended attributes
    OpenCopy,     // creating the recovery copy of a file about to be rewritten in place
    RemoveStray,  // removing a temporary file that a crashed save left behind
    Remove,       // removing a recovery copy once its file is whole again (no fault point)
};

// Called before every operation with a fault point; returns 0 to let it run, or an errno to
// make it fail with. A failing write still puts half of its bytes into the file first, as a
// device that fails part way does. Cleaning up after a failure (removing a temporary file,
// cutting a file back, closing after a failure) has no fault point: a full disk still lets a
// file shrink.
using FaultHook = std::function<int(Op)>;
// Installs a hook (an empty one removes it); returns the previous one.
FaultHook setFaultHook(FaultHook hook);

// Called right before and right after each of these operations runs (`done`), so that a test
// can stop the process at any point of a save, as a crash or a power cut would.
using StepHook = std::function<void(Op, bool done)>;
StepHook setStepHook(StepHook hook);

int openTemp(const QByteArray& path, mode_t mode);  // O_CREAT | O_EXCL, write only
int open(const QByteArray& path, int flags);
int fstat(int fd, struct stat* st);
// Reads the whole of an open file from its start; false with errno on failure.
bool readAll(int fd, QByteArray& out);
int fchmod(int fd, mode_t mode);
int fchown(int fd, uid_t owner, gid_t group);
// fsetxattr, or fremovexattr when `value` is null.
int setAttribute(int fd, const QByteArray& name, const QByteArray* value);
// Reserves the space for `length` bytes without changing the file's size, so that a crash
// after it leaves the file as it was.
int allocate(int fd, off_t length);
// Writes all bytes at `offset`, continuing after short writes; false with errno on failure.
bool writeAll(int fd, const char* data, qint64 size, off_t offset);
int resize(int fd, off_t length);
int sync(int fd);
int syncFolder(const QByteArray& folder);
int close(int fd);
int rename(const QByteArray& from, const QByteArray& to);
// Creates a recovery copy (O_CREAT | O_EXCL, write only).
int openCopy(const QByteArray& path);
int removeStray(const QByteArray& path);
// Removes a file that is no longer needed; it has no fault point, only steps.
int remove(const QByteArray& path);

// Clean-up calls, never failed on purpose.
void discard(int fd);
// Cuts a file back to `length`, syncs it and checks its size; false when any of that fails.
bool cutBack(int fd, off_t length);
// Writes `content` over the whole file at `path` again and syncs it; false on any failure.
bool restoreContent(const QByteArray& path, const QByteArray& content);
// The same through an open file, wherever it lies now.
bool restoreContent(int fd, const QByteArray& content);
// 0, or -1 with errno set.
int removeFile(const QByteArray& path);

}  // namespace mdb::fileio
