#pragma once

// Runs a piece of a test in a child process that has dropped to the unprivileged account
// `nobody`, so that permissions bind even when the tests run as the superuser (as CI does).

#include <grp.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QByteArray>
#include <QFile>
#include <QString>
#include <functional>
#include <string>

namespace mdb::testing {

inline constexpr uid_t kNobodyUid = 65534;
inline constexpr gid_t kNobodyGid = 65534;

struct ChildResult {
    bool ran = false;     // the child could drop its privileges and finish
    std::string failure;  // what the child found wrong, empty when nothing
};

// `body` runs as nobody and returns what it found wrong (empty when nothing). Only the
// superuser can drop to another account: otherwise `ran` is false.
inline ChildResult runAsNobody(const std::function<std::string()>& body) {
    ChildResult result;
    if (::geteuid() != 0) return result;
    int pipe[2];
    if (::pipe(pipe) != 0) return result;
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::close(pipe[0]);
        std::string failure;
        if (::setgroups(0, nullptr) != 0 || ::setgid(kNobodyGid) != 0 ||
            ::setuid(kNobodyUid) != 0) {
            failure = "cannot drop to nobody";
        } else {
            failure = body();
        }
        if (!failure.empty()) (void)!::write(pipe[1], failure.data(), failure.size());
        ::_exit(failure.empty() ? 0 : 1);
    }
    ::close(pipe[1]);
    char buffer[4096];
    for (ssize_t n; (n = ::read(pipe[0], buffer, sizeof buffer)) > 0;) {
        result.failure.append(buffer, size_t(n));
    }
    ::close(pipe[0]);
    int status = 0;
    if (pid < 0 || ::waitpid(pid, &status, 0) != pid) return {false, "cannot start the child"};
    result.ran = WIFEXITED(status);
    if (!result.ran) result.failure = "the child did not finish";
    if (result.ran && WEXITSTATUS(status) != 0 && result.failure.empty()) {
        result.failure = "the child failed";
    }
    return result;
}

// Gives a path to nobody, so that the child can work in a folder the test made.
inline bool giveToNobody(const QString& path) {
    return ::chown(QFile::encodeName(path).constData(), kNobodyUid, kNobodyGid) == 0;
}

}  // namespace mdb::testing
