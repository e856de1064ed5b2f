#include "storage/FileIo.h"

#include <errno.h>
#include <fcntl.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <algorithm>

namespace mdb::fileio {

namespace {

FaultHook& hook() {
    static FaultHook h;
    return h;
}

StepHook& stepHook() {
    static StepHook h;
    return h;
}

// Tells the step hook that an operation starts, and when it goes out of scope, after the
// operation's result is taken, that it is done; errno passes through untouched.
class Step {
public:
    explicit Step(Op op) : op_(op) { notify(false); }
    ~Step() { notify(true); }
    Step(const Step&) = delete;
    Step& operator=(const Step&) = delete;

private:
    void notify(bool done) const {
        if (const StepHook& h = stepHook()) {
            const int saved = errno;
            h(op_, done);
            errno = saved;
        }
    }
    Op op_;
};

// 0 when the operation may run, otherwise the errno it fails with.
int fault(Op op) {
    const FaultHook& h = hook();
    return h ? h(op) : 0;
}

int fail(int error) {
    errno = error;
    return -1;
}

}  // namespace

FaultHook setFaultHook(FaultHook h) {
    std::swap(hook(), h);
    return h;
}

StepHook setStepHook(StepHook h) {
    std::swap(stepHook(), h);
    return h;
}

int openTemp(const QByteArray& path, mode_t mode) {
    if (const int e = fault(Op::OpenTemp)) return fail(e);
    const Step step(Op::OpenTemp);
    return ::open(path.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
}

int open(const QByteArray& path, int flags) {
    if (const int e = fault(Op::Open)) return fail(e);
    const Step step(Op::Open);
    return ::open(path.constData(), flags | O_CLOEXEC, 0666);
}

int fstat(int fd, struct stat* st) {
    if (const int e = fault(Op::Stat)) return fail(e);
    const Step step(Op::Stat);
    return ::fstat(fd, st);
}

bool readAll(int fd, QByteArray& out) {
    if (const int e = fault(Op::Read)) return fail(e), false;
    const Step step(Op::Read);
    out.clear();
    char buffer[65536];
    for (off_t offset = 0;;) {
        const ssize_t n = ::pread(fd, buffer, sizeof buffer, offset);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) return false;
        if (n == 0) return true;
        out.append(buffer, n);
        offset += n;
    }
}

int fchmod(int fd, mode_t mode) {
    if (const int e = fault(Op::Chmod)) return fail(e);
    const Step step(Op::Chmod);
    return ::fchmod(fd, mode);
}

int allocate(int fd, off_t length) {
    if (const int e = fault(Op::Allocate)) return fail(e);
    const Step step(Op::Allocate);
    return ::fallocate(fd, FALLOC_FL_KEEP_SIZE, 0, length);
}

int fchown(int fd, uid_t owner, gid_t group) {
    if (const int e = fault(Op::Chown)) return fail(e);
    const Step step(Op::Chown);
    return ::fchown(fd, owner, group);
}

int setAttribute(int fd, const QByteArray& name, const QByteArray* value) {
    if (const int e = fault(Op::Attribute)) return fail(e);
    const Step step(Op::Attribute);
    if (!value) return ::fremovexattr(fd, name.constData());
    return ::fsetxattr(fd, name.constData(), value->constData(), size_t(value->size()), 0);
}

bool writeAll(int fd, const char* data, qint64 size, off_t offset) {
    while (size > 0) {
        const size_t chunk = size_t(std::min<qint64>(size, qint64(1) << 30));
        if (const int e = fault(Op::Write)) {
            // what a device failing part way leaves behind
            if (chunk > 1) (void)::pwrite(fd, data, chunk / 2, offset);
            return fail(e), false;
        }
        ssize_t n = 0;
        {
            const Step step(Op::Write);
            n = ::pwrite(fd, data, chunk, offset);
        }
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) return false;
        if (n == 0) return fail(ENOSPC), false;  // no progress: nothing more will fit
        data += n;
        size -= n;
        offset += n;
    }
    return true;
}

int resize(int fd, off_t length) {
    if (const int e = fault(Op::Resize)) return fail(e);
    const Step step(Op::Resize);
    return ::ftruncate(fd, length);
}

int sync(int fd) {
    if (const int e = fault(Op::Sync)) return fail(e);
    const Step step(Op::Sync);
    return ::fdatasync(fd);
}

int syncFolder(const QByteArray& folder) {
    if (const int e = fault(Op::SyncFolder)) return fail(e);
    const Step step(Op::SyncFolder);
    const int fd = ::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return -1;
    const int result = ::fsync(fd);
    const int error = errno;
    ::close(fd);
    return result == 0 ? 0 : fail(error);
}

int close(int fd) {
    if (const int e = fault(Op::Close)) {
        ::close(fd);  // the descriptor is gone either way, as with a real failing close
        return fail(e);
    }
    const Step step(Op::Close);
    return ::close(fd);
}

int rename(const QByteArray& from, const QByteArray& to) {
    if (const int e = fault(Op::Rename)) return fail(e);
    const Step step(Op::Rename);
    return ::rename(from.constData(), to.constData());
}

int openCopy(const QByteArray& path) {
    if (const int e = fault(Op::OpenCopy)) return fail(e);
    const Step step(Op::OpenCopy);
    return ::open(path.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
}

int removeStray(const QByteArray& path) {
    if (const int e = fault(Op::RemoveStray)) return fail(e);
    const Step step(Op::RemoveStray);
    return ::unlink(path.constData());
}

int remove(const QByteArray& path) {
    const Step step(Op::Remove);
    return ::unlink(path.constData());
}

void discard(int fd) {
    if (fd >= 0) ::close(fd);
}

bool cutBack(int fd, off_t length) {
    struct stat st {};
    return ::ftruncate(fd, length) == 0 && ::fdatasync(fd) == 0 && ::fstat(fd, &st) == 0 &&
           st.st_size == length;
}

bool restoreContent(int fd, const QByteArray& content) {
    const char* data = content.constData();
    qint64 left = content.size();
    off_t offset = 0;
    while (left > 0) {
        const ssize_t n = ::pwrite(fd, data, size_t(left), offset);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) break;
        data += n;
        left -= n;
        offset += n;
    }
    return left == 0 && cutBack(fd, off_t(content.size()));
}

bool restoreContent(const QByteArray& path, const QByteArray& content) {
    const int fd = ::open(path.constData(), O_WRONLY | O_CLOEXEC);
    if (fd < 0) return false;
    const bool ok = restoreContent(fd, content);
    return ::close(fd) == 0 && ok;
}

int removeFile(const QByteArray& path) {
    return ::unlink(path.constData());
}

}  // namespace mdb::fileio
