// The table descriptors against everything else that knows a table's shape: the field numbers,
// the bundled sample and the append.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "storage/DatabaseFiles.h"
#include "storage/RecordReader.h"

using namespace mdb;
using namespace Qt::StringLiterals;

namespace {

QByteArray bytesOf(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

}  // namespace

// The typed field numbers and the descriptors' field names are written apart: they must name
// the same fields, first and last of every repeated group included.
TEST(TableDescriptors, FieldNumbersNameTheDescribedFields) {
    const auto name = [](const TableDescriptor& d, int field) {
        return d.fieldNames.value(field - 1);
    };
    EXPECT_EQ(name(Tables::status(), StatusField::DamageMotion), u"DamageMotion"_s);
    EXPECT_EQ(Tables::status().width, StatusField::Width);
    EXPECT_EQ(name(Tables::status(), Tables::status().quotedField), u"DisplayName"_s);
    EXPECT_EQ(name(Tables::drop(), DropField::Item(0)), u"Item1"_s);
    EXPECT_EQ(name(Tables::drop(), DropField::Rate(DropField::Slots - 1)), u"Rate8"_s);
    EXPECT_EQ(Tables::drop().width, DropField::Width);
    EXPECT_EQ(name(Tables::mvp(), MvpField::SpecialItem(0)), u"MvpSpecialItem1"_s);
    EXPECT_EQ(name(Tables::mvp(), MvpField::SpecialRate(MvpField::Specials - 1)),
              u"MvpSpecialRate3"_s);
    EXPECT_EQ(name(Tables::mvp(), MvpField::MvpExpRate), u"MvpExpRate"_s);
    EXPECT_EQ(Tables::mvp().width, MvpField::Width);
    EXPECT_EQ(name(Tables::emote(), EmoteField::Emotion), u"Emotion"_s);
    EXPECT_EQ(Tables::emote().width, EmoteField::Width);
    for (const auto& [d, stem] :
         {std::pair{&Tables::morph(), u"Morph"_s}, std::pair{&Tables::summon(), u"Summon"_s},
          std::pair{&Tables::slave(), u"Slave"_s}}) {
        EXPECT_EQ(name(*d, RelationField::Related(0)), stem + u"1"_s);
        EXPECT_EQ(name(*d, RelationField::Related(RelationField::Slots - 1)), stem + u"5"_s);
        EXPECT_EQ(name(*d, RelationField::Count), stem + u"Count"_s);
        EXPECT_EQ(d->width, RelationField::Width);
    }
    MonsterDatabase db;
    for (Table* table : db.loadOrder()) {
        const TableDescriptor* d = Tables::byFileName(table->name());
        ASSERT_NE(d, nullptr);
        EXPECT_EQ(table->fieldNames(), d->fieldNames);
        EXPECT_EQ(table->fieldCount(), d->width);
    }
}

// The sample generator wrote one record a line, as wide as its table says, in every file.
TEST(TableDescriptors, SampleFilesHoldOneRecordOfTheTablesWidthPerLine) {
    const QDir sample(QString::fromUtf8(MDB_SAMPLE_DIR));
    std::vector<const TableDescriptor*> all;
    for (const TableDescriptor* d : Tables::monsterTables()) all.push_back(d);
    for (const TableDescriptor* d : Tables::itemTables()) all.push_back(d);
    {
        for (const TableDescriptor* d : all) {
            SCOPED_TRACE(d->fileName.toStdString());
            const QByteArray bytes = bytesOf(sample.filePath(d->fileName));
            ASSERT_FALSE(bytes.isEmpty());
            QString text;
            qint64 records = 0;
            ASSERT_FALSE(readRecords(bytes, d->fileName, d->width, text, [&](const QStringView*) {
                ++records;
                return true;
            }));
            EXPECT_EQ(records, bytes.count("\r\n"));
        }
    }
}

// An add line one field short (or long) would glue onto or split the records after it on the
// next load: it is refused before the file is touched, and not kept for the saves either.
TEST(TableDescriptors, AppendRefusesALineOfAnotherWidth) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    MonsterDatabase db;
    const QString file = dir.filePath(db.DropTable.name());
    {
        QFile f(file);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("A,1,2,3,4,5,6,7,8,9,10,11,12,13,14,15,16\r\n");
    }
    const QByteArray before = bytesOf(file);
    QStringList line{u"B"_s};
    for (int i = 0; i < 15; ++i) line << u"0"_s;  // one rate short
    for (const QStringList& fields : {line, line + QStringList{u"0"_s, u"0"_s}}) {
        const auto error = appendDatabaseEntry(QDir(dir.path()), db, db.DropTable, fields);
        ASSERT_TRUE(error);
        EXPECT_EQ(error->kind, ErrorKind::WrongFieldCount);
        EXPECT_EQ(error->field, fields.size());
        EXPECT_EQ(error->number(), 1010);
        EXPECT_EQ(bytesOf(file), before);
        EXPECT_TRUE(db.appendedLines(db.DropTable).isEmpty());
    }
    line << u"0"_s;
    ASSERT_FALSE(appendDatabaseEntry(QDir(dir.path()), db, db.DropTable, line));
    EXPECT_EQ(bytesOf(file), before + "B,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0\r\n");
}
