#include "storage/StateFolder.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace mdb {

namespace {

bool makeOwnerOnly(const QString& path) {
    if (!QDir().mkpath(path)) return false;
    return QFile::setPermissions(
        path, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
}

QString baseFolder() {
    QString base = qEnvironmentVariable("XDG_STATE_HOME");
    if (base.isEmpty() || QDir::isRelativePath(base))
        base = QDir::homePath() + QStringLiteral("/.local/state");
    return base + QStringLiteral("/monster-db-editor");
}

}  // namespace

QString existingStateFolder(const QString& sub) {
    const QString folder = sub.isEmpty() ? baseFolder() : baseFolder() + QLatin1Char('/') + sub;
    return QFileInfo(folder).isDir() ? folder : QString();
}

QString stateFolder(const QString& sub) {
    QString folder = baseFolder();
    if (!makeOwnerOnly(folder)) return {};
    if (sub.isEmpty()) return folder;
    folder += QLatin1Char('/') + sub;
    if (!makeOwnerOnly(folder)) return {};
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
