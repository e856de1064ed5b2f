#include "storage/FileIdentity.h"

#include <QCryptographicHash>
#include <QDateTime>
#include <QFile>
#include <QFileInfo>

namespace mdb {

QByteArray contentHash(QByteArrayView bytes) {
    return QCryptographicHash::hash(bytes, QCryptographicHash::Sha1);
}

namespace {

qint64 modifiedOf(const QString& path) {
    const QFileInfo info(path);
    return info.exists() ? info.lastModified().toMSecsSinceEpoch() : 0;
}

}  // namespace

FileIdentity identityOfBytes(const QDir& dir, const QString& fileName, QByteArrayView bytes) {
    return {fileName, bytes.size(), modifiedOf(dir.filePath(fileName)), contentHash(bytes)};
}

FileIdentity identityOnDisk(const QDir& dir, const QString& fileName) {
    QFile file(dir.filePath(fileName));
    FileIdentity identity;
    identity.fileName = fileName;
    if (!file.open(QIODevice::ReadOnly)) return identity;
    // the time first: a change while the bytes are read then shows as a later time too
    identity.modifiedMsecs = modifiedOf(file.fileName());
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) return identity;
    identity.size = bytes.size();
    identity.hash = contentHash(bytes);
    return identity;
}

}  // namespace mdb
