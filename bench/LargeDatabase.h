#pragma once

// A database in the shape of the bundled sample, generated for the benchmarks: by default
// 30,000 monsters with their dependent records and 100,000 items, in code page 932 with CR LF.

#include <QByteArray>
#include <QString>
#include <map>

namespace mdb::bench {

constexpr int MonsterCount = 30000;
constexpr int ItemCount = 100000;
constexpr const char* CodecName = "windows-31j";

// File name -> decoded text of the seven monster files / the three item files.
std::map<QString, QString> generateMonsterTexts(int monsters = MonsterCount);
std::map<QString, QString> generateItemTexts(int items = ItemCount);

QByteArray encodeOrDie(const QString& text);
QString decodeOrDie(const QByteArray& bytes);
void writeOrDie(const QString& path, const QByteArray& bytes);
QByteArray readOrDie(const QString& path);

// Writes all ten files into `folder`.
void writeLargeDatabase(const QString& folder, int monsters = MonsterCount, int items = ItemCount);

}  // namespace mdb::bench
