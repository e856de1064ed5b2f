#pragma once

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QString>
#include <QStringList>
#include <vector>

#include "model/MonsterDatabase.h"
#include "storage/RecordReader.h"

namespace mdb::testing {

using namespace Qt::StringLiterals;

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

inline const char* const StatusFixture = "stat_quoted_names_blanks_and_text_after_quote.txt";
inline const char* const OddStatusFixture =
    "stat_duplicate_codes_quoted_comma_in_name_no_final_line_end.txt";

// A small database of all seven files, the status file taken from a fixture with quoted names,
// blanks and text after a closing quote.
inline void writeSmallDatabase(const QDir& dir) {
    QFile::copy(fixturePath(StatusFixture), dir.filePath(u"mob_stat_db.txt"_s));
    writeBytes(dir.filePath(u"mob_drop_db.txt"_s),
               "PORING,909,7000,1202,100,938,400,512,1000,713,1500,741,5,0,0,0,0\r\n");
    writeBytes(dir.filePath(u"mob_mvp_db.txt"_s), "LUNATIC,0,0,1000,10000,603,100,0,0,0,0\r\n");
    writeBytes(dir.filePath(u"mob_morph_db.txt"_s), "FABRE,PORING,,,,,1\r\n");
    writeBytes(dir.filePath(u"mob_emote_db.txt"_s), "PORING,IDLE_ST,2\r\nFABRE,DEAD_ST,5");
    writeBytes(dir.filePath(u"summon_monster.txt"_s), "");
    writeBytes(dir.filePath(u"summon_slave.txt"_s), "LUNATIC,PORING,FABRE,,,,2\r\n");
}

// Writes the files of a database back to the given contents, in save order.
inline void putFiles(const QDir& dir, const MonsterDatabase& db,
                     const std::vector<QByteArray>& contents) {
    const auto order = db.saveOrder();
    for (size_t i = 0; i < order.size(); ++i) {
        writeBytes(dir.filePath(order[i]->name()), contents[i]);
    }
}

// A template for a scratch folder in memory when there is one: hundreds of saves need not wait
// for the disk's syncs.
inline QString scratchTemplate(const QString& name) {
    const QFileInfo shm(u"/dev/shm"_s);
    return shm.isDir() && shm.isWritable() ? u"/dev/shm/%1-XXXXXX"_s.arg(name)
                                           : QDir::temp().filePath(name + u"-XXXXXX"_s);
}

// The small database with a summon record too, so that every one of the seven files has one.
inline void writeSmallDatabaseOfSevenRecords(const QDir& dir) {
    writeSmallDatabase(dir);
    writeBytes(dir.filePath(u"summon_monster.txt"_s), "LUNATIC,PORING,,,,,1\r\n");
}

inline std::vector<QByteArray> allFiles(const QDir& dir, const MonsterDatabase& db) {
    std::vector<QByteArray> out;
    for (const Table* t : db.saveOrder()) out.push_back(readBytes(dir.filePath(t->name())));
    return out;
}

}  // namespace mdb::testing
