#include <gtest/gtest.h>

#include <QTemporaryDir>

#include "model/Table.h"
#include "storage/Cp932.h"
#include "storage/RecordReader.h"
#include "test_storage_helpers.h"

using namespace mdb;
using namespace mdb::testing;
using namespace Qt::StringLiterals;

namespace {

class StorageReader : public ::testing::Test {
protected:
    ReadResult read(const QByteArray& bytes, int width) {
        writeBytes(dir.filePath(u"t.txt"_s), bytes);
        return readAll(QDir(dir.path()), u"t.txt"_s, width);
    }
    QTemporaryDir dir;
};

}  // namespace

TEST_F(StorageReader, FieldRulesQuotesBlanksAndTextAfterTheQuote) {
    const auto r = read("  a ,\t\"b, c\" junk ,\"\",//x,  \r\n", 5);
    ASSERT_FALSE(r.error);
    ASSERT_EQ(r.records.size(), 1u);
    // blanks before a field go, blanks after an unquoted field stay, text after a closing
    // quote is dropped, a // field is plain data, blanks alone make an empty field
    EXPECT_EQ(r.records[0], (QStringList{u"a "_s, u"b, c"_s, QString(), u"//x"_s, QString()}));

    const auto quotedLineEnd = read("\"x\r\ny\",z\r\n", 2);
    ASSERT_FALSE(quotedLineEnd.error);
    EXPECT_EQ(quotedLineEnd.records[0], (QStringList{u"x\r\ny"_s, u"z"_s}));
}

TEST_F(StorageReader, AnyLineEndSeparatesFieldsAndTheLastLineNeedsNone) {
    const auto r = read("a,b\rc,d\ne,f\r\ng,h", 2);
    ASSERT_FALSE(r.error);
    ASSERT_EQ(r.records.size(), 4u);
    EXPECT_EQ(r.records[1], (QStringList{u"c"_s, u"d"_s}));
    EXPECT_EQ(r.records[3], (QStringList{u"g"_s, u"h"_s}));

    // records are counted in fields: a line end is just another separator
    const auto spread = read("a\r\nb\r\nc,d\r\n", 2);
    ASSERT_FALSE(spread.error);
    EXPECT_EQ(spread.records, (std::vector<QStringList>{{u"a"_s, u"b"_s}, {u"c"_s, u"d"_s}}));
}

TEST_F(StorageReader, EmptyFileHasNoRecordsAndEmptyLinesAreFields) {
    const auto empty = read({}, 3);
    EXPECT_FALSE(empty.error);
    EXPECT_TRUE(empty.records.empty());

    const auto blankMiddle = read("a,b\r\n\r\nc\r\n", 2);
    ASSERT_FALSE(blankMiddle.error);
    EXPECT_EQ(blankMiddle.records[1], (QStringList{QString(), u"c"_s}));
}

TEST_F(StorageReader, FileEndingInsideARecordIsRefusedWithItsPlace) {
    const auto blankAtEnd =
        readAll(QDir(QString::fromUtf8(MDB_TEST_DATA_DIR)), u"emote_blank_line_at_end.txt"_s, 3);
    ASSERT_TRUE(blankAtEnd.error);
    EXPECT_EQ(blankAtEnd.error->kind, ErrorKind::EndOfFileInRecord);
    EXPECT_EQ(blankAtEnd.error->number(), 62);
    EXPECT_EQ(blankAtEnd.error->fileName, u"emote_blank_line_at_end.txt"_s);
    EXPECT_EQ(blankAtEnd.error->record, 3);
    EXPECT_EQ(blankAtEnd.error->field, 2);
    EXPECT_EQ(blankAtEnd.records.size(), 2u);  // complete records were handed over first

    // Two 16-field records in a 17-field file: the shift shows only at the end.
    const auto shortDrop = readAll(QDir(QString::fromUtf8(MDB_TEST_DATA_DIR)),
                                   u"drop_records_one_field_short.txt"_s, 17);
    ASSERT_TRUE(shortDrop.error);
    EXPECT_EQ(shortDrop.error->kind, ErrorKind::EndOfFileInRecord);
    ASSERT_EQ(shortDrop.records.size(), 1u);
    EXPECT_EQ(shortDrop.records[0][16], u"Fabre"_s);  // the next line's key slid in

    // Seventeen such records add up to whole records and load, shifted, without complaint.
    QByteArray seventeen;
    for (int i = 0; i < 17; ++i) seventeen += "K,1,2,3,4,5,6,7,8,9,10,11,12,13,14,15\r\n";
    const auto shifted = read(seventeen, 17);
    EXPECT_FALSE(shifted.error);
    EXPECT_EQ(shifted.records.size(), 16u);
}

TEST_F(StorageReader, FailuresCarryTheirKindNumberAndFile) {
    const QDir d(dir.path());
    auto missing = readAll(d, u"none.txt"_s, 3);
    ASSERT_TRUE(missing.error);
    EXPECT_EQ(missing.error->number(), 53);
    EXPECT_EQ(missing.error->fileName, u"none.txt"_s);

    ASSERT_TRUE(d.mkdir(u"folder.txt"_s));
    auto folder = readAll(d, u"folder.txt"_s, 3);
    ASSERT_TRUE(folder.error);
    EXPECT_EQ(folder.error->kind, ErrorKind::OpenFailed);
    EXPECT_EQ(folder.error->number(), 75);
    EXPECT_FALSE(folder.error->detail.isEmpty());

    const QDir data(QString::fromUtf8(MDB_TEST_DATA_DIR));
    const QString badName = u"emote_invalid_cp932_pair_on_line_2.txt"_s;
    auto bad = readAll(data, badName, 3);
    ASSERT_TRUE(bad.error);
    EXPECT_EQ(bad.error->number(), 1001);
    EXPECT_EQ(bad.error->byteOffset, readBytes(data.filePath(badName)).indexOf("\x85\x40"));
    EXPECT_EQ(bad.error->record, 2);
    EXPECT_TRUE(bad.records.empty());  // nothing of an undecodable file is handed over

    auto cut = readAll(data, u"emote_lead_byte_cut_at_end.txt"_s, 3);
    ASSERT_TRUE(cut.error);
    EXPECT_EQ(cut.error->kind, ErrorKind::BadEncoding);
    EXPECT_EQ(cut.error->byteOffset,
              readBytes(data.filePath(u"emote_lead_byte_cut_at_end.txt"_s)).size() - 1);

    writeBytes(d.filePath(u"t.txt"_s), "a\r\nb\r\nc\r\n");
    int taken = 0;
    auto full = readRecordFile(d, u"t.txt"_s, 1, [&](QStringList&) { return ++taken < 2; });
    ASSERT_TRUE(full);
    EXPECT_EQ(full->number(), 6);
    EXPECT_EQ(taken, 2);  // reading stopped at the refusal
}

TEST_F(StorageReader, ManyDistinctShortValuesAndLargeTablesReadExactly) {
    // Fields are views into the file's text; every value must still come back as written.
    QByteArray bytes;
    QStringList expected;
    for (int i = 0; i < 40000; ++i) {
        const QString a = QString::number(i % 10007), b = QString::number(i % 97) + u"ア"_s;
        expected << a << b << u"%1"_s.arg(i);
        bytes += *cp932::encode(a + u',' + b + u',' + QString::number(i) + u"\r\n"_s);
    }
    Table table(u"t.txt"_s, {u"A"_s, u"B"_s, u"C"_s});
    writeBytes(dir.filePath(u"t.txt"_s), bytes);
    auto error = readRecordFile(QDir(dir.path()), u"t.txt"_s, 3,
                                [&](QStringList& f) { return table.appendRecord(std::move(f)); });
    ASSERT_FALSE(error);
    ASSERT_EQ(table.Count(), 40000);  // well past a 16-bit count
    for (qint32 r = 1; r <= table.Count(); ++r) {
        for (int f = 1; f <= 3; ++f) {
            ASSERT_EQ(table.field(r, f), expected[(r - 1) * 3 + f - 1]) << r << ' ' << f;
        }
    }
}
