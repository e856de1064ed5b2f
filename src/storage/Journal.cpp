#include "storage/Journal.h"

#include <errno.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <cstring>

#include "storage/FileIo.h"
#include "storage/StateFolder.h"

namespace mdb {

using namespace Qt::StringLiterals;

namespace {

QString reasonOf(int error) {
    return QString::fromLocal8Bit(std::strerror(error));
}

const QString kJournalFolder = u"journal"_s;

// The folder the journal at `path` lies in, when it is the user's own: the state folder's
// journal folder (made when `make`), or for a journal kept elsewhere its existing folder.
QString ownFolderOf(const QString& path, bool make, QString* problem) {
    const QString folder = QFileInfo(path).path();
    if (folder == stateFolderPath(kJournalFolder)) {
        return make ? stateFolder(kJournalFolder, problem)
                    : existingStateFolder(kJournalFolder, problem);
    }
    return isOwnFolder(folder, problem) ? folder : QString();
}

}  // namespace

Journal::Journal(QString path) : path_(std::move(path)) {}

QString Journal::pathFor(const QString& databaseFolder) {
    return stateFolderPath(kJournalFolder) + QLatin1Char('/') + stateNameFor(databaseFolder) +
           u".journal"_s;
}

bool Journal::exists() const {
    struct stat st {};
    return !path_.isEmpty() && ::lstat(QFile::encodeName(path_).constData(), &st) == 0;
}

Journal::Lock Journal::lock(bool make) {
    if (isLocked()) return Lock::Taken;
    if (path_.isEmpty()) return Lock::NoFolder;
    // the lock lies beside the journal, in a folder of the user's own
    if (ownFolderOf(path_, make, nullptr).isEmpty()) return Lock::NoFolder;
    const QByteArray name = QFile::encodeName(path_ + u".lock"_s);
    const int fd = ::open(name.constData(), O_RDWR | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (fd < 0) return Lock::NoFolder;
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) || st.st_uid != ::geteuid()) {
        ::close(fd);
        return Lock::NoFolder;
    }
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        const int e = errno;
        ::close(fd);
        return e == EWOULDBLOCK ? Lock::Busy : Lock::NoFolder;
    }
    lock_ = std::shared_ptr<int>(new int(fd), [](int* held) {
        ::close(*held);
        delete held;
    });
    return Lock::Taken;
}

bool Journal::isLocked() const {
    return bool(lock_);
}

std::optional<QString> Journal::start(const QString& folder,
                                      const std::vector<FileIdentity>& files) {
    const QByteArray header = headerBytes(folder, files);
    return replace(earlier_.isEmpty() ? header : earlier_ + header.sliced(kJournalMagicBytes));
}

std::optional<QString> Journal::replace(const QByteArray& bytes) {
    started_ = false;
    if (path_.isEmpty()) return u"記録の場所が分かりません（ホームフォルダがありません）"_s;
    QString problem;
    const QString folder = ownFolderOf(path_, true, &problem);
    if (folder.isEmpty()) return u"状態フォルダを使えません: %1"_s.arg(problem);
    if (!isLocked()) lock(true);
    // the whole journal goes in at once: written beside, then renamed into place; whatever an
    // earlier run or anyone else left under the temporary name is taken away first, never
    // followed
    const QByteArray temp = QFile::encodeName(path_ + u".new"_s);
    ::unlink(temp.constData());
    const int fd = fileio::openJournal(temp, O_WRONLY | O_CREAT | O_EXCL);
    if (fd < 0) return reasonOf(errno);
    bool ok = fileio::writeJournal(fd, bytes.constData(), bytes.size(), 0) &&
              fileio::syncJournal(fd) == 0;
    int error = errno;
    if (fileio::close(fd) != 0 && ok) {
        ok = false;
        error = errno;
    }
    if (ok && fileio::rename(temp, QFile::encodeName(path_)) != 0) {
        ok = false;
        error = errno;
    }
    if (!ok) {
        ::unlink(temp.constData());
        return reasonOf(error);
    }
    fileio::syncFolder(QFile::encodeName(folder));
    started_ = true;
    return std::nullopt;
}

std::optional<QString> Journal::appendUpdate(const JournalUpdate& update) {
    return append(updateBytes(update));
}

std::optional<QString> Journal::appendIdentity(const FileIdentity& identity) {
    return append(identityEntryBytes(identity));
}

std::optional<QString> Journal::append(const QByteArray& bytes) {
    const int fd = fileio::openJournal(QFile::encodeName(path_), O_WRONLY);
    if (fd < 0) return reasonOf(errno);
    struct stat st {};
    bool ok = ::fstat(fd, &st) == 0;
    if (ok && (!S_ISREG(st.st_mode) || st.st_uid != ::geteuid())) {
        ok = false;
        errno = EINVAL;
    }
    // owner-only whatever an older file said; the entry goes at the end, then to the disk
    ok = ok && ::fchmod(fd, 0600) == 0 &&
         fileio::writeJournal(fd, bytes.constData(), bytes.size(), st.st_size) &&
         fileio::syncJournal(fd) == 0;
    const int e = errno;
    if (!ok && st.st_size > 0) {
        // a half-written entry would make every later one unreadable: cut it off again
        if (::ftruncate(fd, st.st_size) == 0) ::fdatasync(fd);
    }
    if (fileio::close(fd) != 0 && ok) return reasonOf(errno);
    if (!ok) return reasonOf(e);
    return std::nullopt;
}

void Journal::remove() {
    if (path_.isEmpty()) return;
    if (earlier_.isEmpty()) {
        ::unlink(QFile::encodeName(path_).constData());
    } else if (started_) {
        // the entries the user put off stay for the next start to offer; until this run
        // writes again, the journal holds them alone
        replace(earlier_);
    }
    started_ = false;
}

QString Journal::asideName(const QString& why) const {
    return path_ + QLatin1Char('.') + why + QLatin1Char('-') +
           QDateTime::currentDateTimeUtc().toString(u"yyyyMMddHHmmss"_s);
}

void Journal::removeLeftovers() const {
    if (path_.isEmpty() || !isLocked()) return;
    const QString folder = ownFolderOf(path_, false, nullptr);
    if (folder.isEmpty()) return;
    ::unlink(QFile::encodeName(path_ + u".new"_s).constData());
    // <32 hex digits>.journal.<why>-<UTC time>[-<n>], as asideName and setAside make them
    static const QRegularExpression aside(
        u"^[0-9a-f]{32}\\.journal\\.[a-z-]+?-([0-9]{14})(-[0-9]{1,2})?$"_s);
    const QDateTime limit = QDateTime::currentDateTimeUtc().addDays(-kKeepAsideDays);
    const QDir journals(folder);
    for (const QString& name : journals.entryList(QDir::Files | QDir::System | QDir::Hidden)) {
        const QRegularExpressionMatch match = aside.match(name);
        if (!match.hasMatch()) continue;
        QDateTime when = QDateTime::fromString(match.captured(1), u"yyyyMMddHHmmss"_s);
        when.setTimeSpec(Qt::UTC);
        if (when.isValid() && when < limit) {
            ::unlink(QFile::encodeName(journals.filePath(name)).constData());
        }
    }
}

QString Journal::setAside(const QString& why) {
    started_ = false;
    const QByteArray from = QFile::encodeName(path_);
    // a new name beside every earlier one (link() never replaces a name, nor follows a symlink)
    for (int n = 0; n < 100; ++n) {
        const QString aside = n == 0 ? asideName(why) : asideName(why) + u"-%1"_s.arg(n);
        if (::link(from.constData(), QFile::encodeName(aside).constData()) == 0) {
            ::unlink(from.constData());
            return aside;
        }
        if (errno != EEXIST) break;
    }
    return {};
}

}  // namespace mdb
