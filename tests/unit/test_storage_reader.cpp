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

TEST_F(StorageReader, AnyLineEndEndsARecordAndTheLastLineNeedsNone) {
    const auto r = read("a,b\rc,d\ne,f\r\ng,h", 2);
    ASSERT_FALSE(r.error);
    ASSERT_EQ(r.records.size(), 4u);
    EXPECT_EQ(r.records[1], (QStringList{u"c"_s, u"d"_s}));
    EXPECT_EQ(r.records[3], (QStringList{u"g"_s, u"h"_s}));

    const auto empty = read({}, 3);
    EXPECT_FALSE(empty.error);
    EXPECT_TRUE(empty.records.empty());
}

TEST_F(StorageReader, ALineOfAnyOtherFieldCountIsRefusedWhereItStands) {
    auto expectMisaligned = [](const ReadResult& r, qint32 line, int field, size_t before) {
        ASSERT_TRUE(r.error);
        EXPECT_EQ(r.error->kind, ErrorKind::MisalignedRecord);
        EXPECT_EQ(r.error->number(), 62);
        EXPECT_EQ(r.error->line, line);
        EXPECT_EQ(r.error->record, qint32(before) + 1);
        EXPECT_EQ(r.error->field, field);
        EXPECT_EQ(r.records.size(), before);  // complete records were handed over first
    };
    // a whole record's worth of extra fields would otherwise shift every later record
    expectMisaligned(read("P,1,2\r\nL,3,4,X,5,6\r\nF,7,8\r\n", 3), 2, 4, 1);
    // a record split over lines, a blank line, a comma after the last field
    expectMisaligned(read("a\r\nb\r\nc,d\r\n", 2), 1, 2, 0);
    expectMisaligned(read("a,b\r\n\r\nc\r\n", 2), 2, 2, 1);
    expectMisaligned(read("a,b,c,", 3), 1, 4, 0);
    expectMisaligned(
        readAll(QDir(QString::fromUtf8(MDB_TEST_DATA_DIR)), u"emote_blank_line_at_end.txt"_s, 3), 3,
        2, 2);
    // Two 16-field records in a 17-field file, and seventeen of them, which add up to whole
    // records: both refused at the first line.
    expectMisaligned(readAll(QDir(QString::fromUtf8(MDB_TEST_DATA_DIR)),
                             u"drop_records_one_field_short.txt"_s, 17),
                     1, 17, 0);
    QByteArray seventeen;
    for (int i = 0; i < 17; ++i) seventeen += "K,1,2,3,4,5,6,7,8,9,10,11,12,13,14,15\r\n";
    expectMisaligned(read(seventeen, 17), 1, 17, 0);
    // the line is counted from where the record begins, after a line end in quotes
    expectMisaligned(read("\"x\r\ny\",z\r\nu,v,w\r\n", 2), 3, 3, 1);
}

TEST_F(StorageReader, FileEndingInsideARecordOrItsQuotesIsRefusedWithItsPlace) {
    const auto cut = read("a,b,c\r\nd,e", 3);
    ASSERT_TRUE(cut.error);
    EXPECT_EQ(cut.error->kind, ErrorKind::EndOfFileInRecord);
    EXPECT_EQ(cut.error->number(), 62);
    EXPECT_EQ(cut.error->record, 2);
    EXPECT_EQ(cut.error->field, 3);
    EXPECT_EQ(cut.records.size(), 1u);

    // Found by fuzzing: a quote the end of the file closes swallowed every later line into one
    // field and loaded; an append then refused the file as not ending between records.
    const auto unclosed = read("P,I,\"D,5\r\nF,I,1\r\n", 3);
    ASSERT_TRUE(unclosed.error);
    EXPECT_EQ(unclosed.error->kind, ErrorKind::EndOfFileInRecord);
    EXPECT_EQ(unclosed.error->field, 3);
    EXPECT_TRUE(unclosed.records.empty());
}

TEST_F(StorageReader, OnlyBytesThatAreNoCodePage932AreToldToBeUtf8) {
    // Found by fuzzing: half-width katakana such as ﾇｿ (0xC7 0xBF) are valid UTF-8 as well; a
    // file that held only such pairs after a save was refused as UTF-8 when read back.
    const auto kana = read("\xC7\xBF,a,b\r\n", 3);
    ASSERT_FALSE(kana.error);
    EXPECT_EQ(kana.records[0][0], u"ﾇｿ"_s);

    const auto utf8 = read(u"スライム,a,b\r\n"_s.toUtf8(), 3);
    ASSERT_TRUE(utf8.error);
    EXPECT_EQ(utf8.error->kind, ErrorKind::Utf8Text);
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

TEST_F(StorageReader, FieldRulesHoldWhereverAFieldFallsInALongText) {
    // The reader looks at long texts a block of characters at a time: every kind of field has
    // to read the same wherever it starts and ends, across blocks and at the very end.
    struct Kind {
        QByteArray written;
        QString value;
    };
    const Kind kinds[] = {
        {"7", u"7"_s},
        {"", QString()},
        {" \tab", u"ab"_s},
        {"ab  ", u"ab  "_s},
        {"\"a,b\r\nc\"", u"a,b\r\nc"_s},
        {"\"q\" zz", u"q"_s},
        {"\"q\"zz", u"q"_s},
        {"\"pq\"", u"pq"_s},
        {"\"\"", QString()},
        {"a!b\"c", u"a!b\"c"_s},
        {"\x82\xa0-1", u"あ-1"_s},
        {"  ", QString()},
    };
    const char* const lineEnds[] = {"\r\n", "\n", "\r"};
    for (int width : {1, 3, 7}) {
        std::vector<QByteArray> lines;
        std::vector<QStringList> expected;
        quint32 seed = 12345;
        for (int r = 0; r < 300; ++r) {
            QByteArray line;
            QStringList record;
            for (int f = 0; f < width; ++f) {
                seed = seed * 1103515245u + 12345u;
                const Kind& kind = kinds[(seed >> 16) % std::size(kinds)];
                // plain text of any length in front moves the field across block edges
                const QByteArray pad((seed >> 8) % 70, 'x');
                const bool padded = (seed & 1) && kind.value == QString::fromLatin1(kind.written);
                line += (padded ? pad : QByteArray()) + kind.written + (f + 1 < width ? "," : "");
                record << (padded ? QString::fromLatin1(pad) : QString()) + kind.value;
            }
            lines.push_back(line);
            expected.push_back(record);
        }
        auto join = [&](const std::vector<QByteArray>& ls) {
            QByteArray bytes;
            for (size_t r = 0; r < ls.size(); ++r) {
                bytes += ls[r] + (r + 1 < ls.size() ? lineEnds[r % 3] : "");
            }
            return bytes;
        };
        const auto all = read(join(lines), width);
        ASSERT_FALSE(all.error) << width;
        EXPECT_EQ(all.records, expected) << width;

        // a field too many far into the text is still refused where it stands
        lines[199] += ",x";
        const auto misaligned = read(join(lines), width);
        ASSERT_TRUE(misaligned.error) << width;
        EXPECT_EQ(misaligned.error->kind, ErrorKind::MisalignedRecord);
        EXPECT_EQ(misaligned.error->record, 200);
        EXPECT_EQ(misaligned.error->field, width + 1);
        EXPECT_EQ(misaligned.records.size(), 199u);
    }
}
