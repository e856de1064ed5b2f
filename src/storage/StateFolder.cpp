#include "storage/StateFolder.h"

#include <errno.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cstring>

namespace mdb {

using namespace Qt::StringLiterals;

namespace {

QString baseFolder() {
    QString base = qEnvironmentVariable("XDG_STATE_HOME");
    if (base.isEmpty() || QDir::isRelativePath(base))
        base = QDir::homePath() + QStringLiteral("/.local/state");
    return base + QStringLiteral("/monster-db-editor");
}

QString folderOf(const QString& sub) {
    return sub.isEmpty() ? baseFolder() : baseFolder() + QLatin1Char('/') + sub;
}

void say(QString* problem, const QString& text) {
    if (problem) *problem = text;
}

// Makes the folder owner-only when it is missing; an existing one is left as it is, to be
// judged by isOwnFolder.
bool makeOwnerOnly(const QString& path, QString* problem) {
    const QByteArray name = QFile::encodeName(path);
    struct stat st {};
    if (::lstat(name.constData(), &st) == 0) return true;
    // the folders above belong to the home folder, not to the editor: made as usual
    if (!QDir().mkpath(QFileInfo(path).path())) {
        say(problem, u"フォルダ %1 を作れません"_s.arg(QDir::toNativeSeparators(path)));
        return false;
    }
    if (::mkdir(name.constData(), 0700) != 0 && errno != EEXIST) {
        say(problem,
            u"フォルダ %1 を作れません（%2）"_s.arg(QDir::toNativeSeparators(path),
                                                    QString::fromLocal8Bit(std::strerror(errno))));
        return false;
    }
    return true;
}

}  // namespace

bool isOwnFolder(const QString& path, QString* problem) {
    const QString shown = QDir::toNativeSeparators(path);
    struct stat st {};
    if (::lstat(QFile::encodeName(path).constData(), &st) != 0) {
        say(problem, u"フォルダ %1 を調べられません（%2）"_s.arg(
                         shown, QString::fromLocal8Bit(std::strerror(errno))));
        return false;
    }
    if (S_ISLNK(st.st_mode)) {
        say(problem, u"%1 はシンボリックリンクです"_s.arg(shown));
        return false;
    }
    if (!S_ISDIR(st.st_mode)) {
        say(problem, u"%1 はフォルダではありません"_s.arg(shown));
        return false;
    }
    if (st.st_uid != ::geteuid()) {
        say(problem,
            u"フォルダ %1 の所有者が別のユーザー（ID %2）です"_s.arg(shown).arg(st.st_uid));
        return false;
    }
    if (st.st_mode & (S_IWGRP | S_IWOTH)) {
        say(problem, u"フォルダ %1 に他のユーザーが書き込めます"_s.arg(shown));
        return false;
    }
    return true;
}

QString stateFolderPath(const QString& sub) {
    return folderOf(sub);
}

QString existingStateFolder(const QString& sub, QString* problem) {
    if (!isOwnFolder(baseFolder(), problem)) return {};
    if (sub.isEmpty()) return baseFolder();
    const QString folder = folderOf(sub);
    return isOwnFolder(folder, problem) ? folder : QString();
}

QString stateFolder(const QString& sub, QString* problem) {
    const QString base = baseFolder();
    if (!makeOwnerOnly(base, problem) || !isOwnFolder(base, problem)) return {};
    if (sub.isEmpty()) return base;
    const QString folder = folderOf(sub);
    if (!makeOwnerOnly(folder, problem) || !isOwnFolder(folder, problem)) return {};
    return folder;
}

QString stateNameFor(const QString& databaseFolder) {
    QFileInfo info(databaseFolder);
    QString path = info.canonicalFilePath();
    if (path.isEmpty()) path = info.absoluteFilePath();
    return QString::fromLatin1(
        QCryptographicHash::hash(path.toUtf8(), QCryptographicHash::Sha256).toHex().left(32));
}

}  // namespace mdb
