#pragma once

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QString>
#include <QStringList>
#include <vector>

#include "storage/RecordReader.h"

namespace mdb::testing {

inline QString fixturePath(const char* name) {
    return QDir(QString::fromUtf8(MDB_TEST_DATA_DIR)).filePath(QString::fromUtf8(name));
}

inline QByteArray readBytes(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) return QByteArray("<missing>");
    return f.readAll();
}

inline void writeBytes(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate)) return;
    f.write(bytes);
}

// Reads a whole file into a list of records, so that tests can compare what was read.
struct ReadResult {
    std::vector<QStringList> records;
    std::optional<StorageError> error;
};

inline ReadResult readAll(const QDir& dir, const QString& name, int width) {
    ReadResult result;
    result.error = readRecordFile(dir, name, width, [&](QStringList& fields) {
        result.records.push_back(fields);
        return true;
    });
    return result;
}

}  // namespace mdb::testing
