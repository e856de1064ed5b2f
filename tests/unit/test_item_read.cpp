#include <gtest/gtest.h>

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QString>
#include <QTemporaryDir>
#include <limits>
#include <optional>
#include <vector>

#include "model/ItemDatabase.h"
#include "storage/Cp932.h"
#include "storage/FileRead.h"
#include "storage/ItemRead.h"
#include "storage/RecordReader.h"

using namespace mdb;
using namespace Qt::StringLiterals;

namespace {

// What the full reader makes of an item file: every record's ID and name, and its refusal.
struct Items {
    std::vector<std::pair<QString, QString>> rows;
    std::optional<StorageError> error;
};

Items byFullReader(const QByteArray& bytes, int width) {
    Items out;
    QString text;
    out.error =
        readRecords(bytes, u"item_drop_db.txt"_s, width, text, [&out](const QStringView* fields) {
            out.rows.emplace_back(fields[0].toString(), fields[2].toString());
            return true;
        });
    return out;
}

TableDescriptor itemFile(const QString& fileName, int width) {
    TableDescriptor descriptor;
    descriptor.fileName = fileName;
    descriptor.width = width;
    return descriptor;
}

// What a read into an item table of `width` keeps: `read` fills the table and gives its error.
template <typename Read>
Items byItemTable(int width, const Read& read) {
    const TableDescriptor descriptor = itemFile(u"item_drop_db.txt"_s, width);
    ItemTable table(descriptor);
    Items out;
    out.error = read(table);
    for (qint32 r = 1; r <= table.Count(); ++r)
        out.rows.emplace_back(table.ItemId(r), table.ItemName(r));
    return out;
}

Items byItemReader(const QByteArray& bytes, int width) {
    return byItemTable(width, [&bytes](ItemTable& table) { return readItemRecords(bytes, table); });
}

QByteArray sjis(const QString& text) {
    return *cp932::encode(text);
}

// The same items, and the same refusal, naming the same place.
void expectSameItems(const Items& got, const Items& expected, const char* what) {
    EXPECT_EQ(got.rows, expected.rows) << what;
    ASSERT_EQ(got.error.has_value(), expected.error.has_value()) << what;
    if (!expected.error) return;
    EXPECT_EQ(got.error->kind, expected.error->kind) << what;
    EXPECT_EQ(got.error->record, expected.error->record) << what;
    EXPECT_EQ(got.error->line, expected.error->line) << what;
    EXPECT_EQ(got.error->field, expected.error->field) << what;
    EXPECT_EQ(got.error->byteOffset, expected.error->byteOffset) << what;
    EXPECT_EQ(got.error->character, expected.error->character) << what;
}

void expectSameAsFullReader(const QByteArray& bytes, int width, const char* what) {
    expectSameItems(byItemReader(bytes, width), byFullReader(bytes, width), what);
}

}  // namespace

// The item reader finds fields on the raw bytes and decodes only IDs and names; whatever a file
// holds, it must keep exactly the items, and give exactly the refusal, of the full reader.
TEST(ItemRead, KeepsWhatTheFullReaderKeepsAndRefusesWhatItRefuses) {
    const struct {
        const char* what;
        QByteArray bytes;
    } files[] = {
        {"plain lines", "501,Red_Potion,Red Potion,3,50\r\n502,Orange,Orange Potion,3,200\r\n"},
        {"no final line end", "501,A,Apple,3,50\r\n502,B,Banana,3,20"},
        {"lone LF and lone CR", "501,A,Apple,3,50\n502,B,Banana,3,20\r503,C,Cherry,3,1\r\n"},
        {"quoted script with commas and a line end",
         "501,A,Apple,3,\"bonus bStr,1; bonus bAgi,2;\r\n more\"\r\n502,B,B,3,\"\"\r\n"},
        {"quoted name with a comma, blanks, text after the quote",
         "  501 , A,  \"Apple, red\" trailing ,3,50\r\n502,B,\t\"\",3,20\r\n"},
        {"Japanese names with 0x5C second bytes",
         sjis(u"501,A,古びた表札,3,\"能面,ソ\"\r\n502,B,\"団子～三色～①\",3,ｱｲｳ\r\n"_s)},
        {"a quote inside an unquoted name", "501,A,Ap\"ple,3,50\r\n"},
        {"control codes the code page moves", "501,A,Ap\x1A\x7Fple,3,5\x1C\r\n"},
        {"empty file", ""},
        {"a line one field short", "501,A,Apple,3,50\r\n502,B,Banana,3\r\n503,C,C,3,1\r\n"},
        {"a line one field long", "501,A,Apple,3,50,9\r\n"},
        {"a blank line at the end", "501,A,Apple,3,50\r\n\r\n"},
        {"ends inside a record", "501,A,Apple,3,50\r\n502,B,"},
        {"ends after a comma", "501,A,Apple,3,50\r\n502,"},
        {"a quote the end of the file closes", "501,A,Apple,3,\"bonus 1;\r\n502,B,B,3,1\r\n"},
        {"a NUL in a script", QByteArray("501,A,Apple,3,\"a\0b\"\r\n", 21)},
        {"an invalid pair in a script that is not decoded",
         "501,A,Apple,3,50\r\n502,B,Banana,3,\"bonus \x81\x20;\"\r\n"},
        {"an invalid lead byte in a number that is not decoded", "501,A,Apple,3,5\xFF\r\n"},
        {"a lead byte whose second byte is the comma", "501,A\x81,Apple,3,50\r\n"},
        {"a lead byte cut off at the end", "501,A,Apple,3,50\r\n502,B,B,3,5\x82"},
        {"an invalid pair in a name", "501,A,Ap\x85\x40,3,50\r\n"},
        {"UTF-8 text", "501,A,\xE3\x81\x82\xE3\x81\x84,3,\xE3\x81\x86\r\n"},
    };
    for (const auto& f : files) expectSameAsFullReader(f.bytes, 5, f.what);
}

// Past the name the reader counts commas many fields at a time; a quote or a line end in any of
// those fields, one field too few or too many, and fields longer than a block of 64 bytes must
// still split the record where the full reader splits it.
TEST(ItemRead, FieldsAfterTheNameSplitAsTheFullReaderSplitsThem) {
    const QByteArray special[] = {"\"a,b,c\"", " \t\"x,\r\ny\" z",        "ab\"c", "\"\"", "\"",
                                  "\"q\",",    QByteArray(70, 'n') + ",", "\r",    "\n7"};
    const QByteArray plain = "1,2,3,4,5,6,7,8\r\n";
    for (int fields = 7; fields <= 9; ++fields) {
        for (int at = 3; at < fields; ++at) {
            for (const QByteArray& value : special) {
                QByteArray record = "9,ID,Name";
                for (int f = 3; f < fields; ++f) {
                    record += ',' + (f == at ? value : QByteArray::number(f) + "0");
                }
                const QByteArray bytes = plain + record + "\r\n" + plain;
                expectSameAsFullReader(bytes, 8, bytes.constData());
            }
        }
    }
}

TEST(ItemRead, BadByteOutsideIdAndNameIsRefusedWithItsPlaceAndNoItemIsKept) {
    // the second record's script holds a byte pair that is no character: nothing of the file
    // may be offered, and the place named must be that of the bad byte
    const QByteArray bytes = "501,A,Apple,3,50\r\n502,B,Banana,3,\"bonus \x81\x20;\"\r\n";
    const TableDescriptor descriptor = itemFile(u"item_consume_db.txt"_s, 5);
    ItemTable table(descriptor);
    const auto error = readItemRecords(bytes, table);
    ASSERT_TRUE(error);
    EXPECT_EQ(error->kind, ErrorKind::BadEncoding);
    EXPECT_EQ(error->byteOffset, bytes.indexOf('\x81'));
    EXPECT_EQ(error->record, 2);
    EXPECT_EQ(table.Count(), 0);
}

// check() must pass exactly the bytes decode() passes: every byte alone, every pair from a byte
// of 0x80 up, and every pair after an ASCII byte.
TEST(ItemRead, ByteCheckAgreesWithTheDecoderOnEveryPair) {
    int disagreements = 0;
    for (int a = 1; a < 256; ++a) {
        for (int b = (a < 0x80 ? 0x80 : 1); b < 256; ++b) {
            const char pair[2] = {char(a), char(b)};
            const QByteArrayView bytes(pair, 2);
            cp932::RunDecoder decoder;
            if (decoder.check(bytes) != cp932::decode(bytes).has_value()) ++disagreements;
        }
        const char one[1] = {char(a)};
        cp932::RunDecoder decoder;
        if (decoder.check(QByteArrayView(one, 1)) !=
            cp932::decode(QByteArrayView(one, 1)).has_value()) {
            ++disagreements;
        }
    }
    EXPECT_EQ(disagreements, 0);
}

namespace {

// What reading the file whole gives: readDatabaseFile, then readItemRecords.
Items byWholeFile(const QDir& dir, int width) {
    return byItemTable(width, [&dir](ItemTable& table) {
        QByteArray bytes;
        auto error = readDatabaseFile(dir, table.fileName(), bytes);
        return error ? error : readItemRecords(bytes, table);
    });
}

Items byItemFile(const QDir& dir, int width, qint64 splitFrom = -1) {
    return byItemTable(
        width, [&dir, splitFrom](ItemTable& table) { return readItemFile(dir, table, splitFrom); });
}

void writeItemFile(const QDir& dir, const QByteArray& bytes) {
    QFile file(dir.filePath(u"item_drop_db.txt"_s));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    ASSERT_EQ(file.write(bytes), bytes.size());
}

// The file read whole, streamed by one thread and streamed by two must keep the same items and
// give the same refusal.
void expectSameAsWholeFile(const QDir& dir, const QByteArray& bytes, const char* what) {
    writeItemFile(dir, bytes);
    const Items whole = byWholeFile(dir, 5);
    expectSameItems(byItemFile(dir, 5), whole, what);
    expectSameItems(byItemFile(dir, 5, 0), whole, what);
}

}  // namespace

// A file is read through a buffer much smaller than itself: wherever the buffer's end falls (in
// a double-byte character, between CR and LF, in a quoted script, in a record longer than the
// buffer), the items and the refusal must be those of reading the file whole.
TEST(ItemRead, FileReadInPiecesGivesWhatTheWholeFileGives) {
    QTemporaryDir temp;
    ASSERT_TRUE(temp.isValid());
    const QDir dir(temp.path());
    QByteArray body;
    for (int i = 0; body.size() < 700 * 1024; ++i) {
        body += QByteArray::number(500 + i) + ",A" + QByteArray::number(i) + ",";
        body += sjis(i % 3 ? u"古びた表札ｱ"_s : u"Apple"_s);
        body += ",3,\"bonus bStr," + QByteArray::number(i % 7) + ";\r\n more\"";
        body += i % 5 ? "\r\n" : "\n";
    }
    // shift every boundary through the bytes of a record, a character at a time
    for (int shift = 0; shift < 24; ++shift) {
        const QByteArray first = "1," + QByteArray(shift, 'x') + "," + sjis(u"表"_s) + ",3,4\r\n";
        expectSameAsFullReader(first + body, 5, "whole bytes");
        expectSameAsWholeFile(dir, first + body, "streamed");
    }
    // a record longer than the buffer, twice over
    const QByteArray longScript = "9,L,Long,3,\"" + QByteArray(600 * 1024, 'a') + ",b\"\r\n";
    expectSameAsWholeFile(dir, body + longScript + body, "a record longer than the buffer");
    // refusals far into the file: a bad pair, a record one field short, a cut-off lead byte
    expectSameAsWholeFile(dir, body + "9,Z,Ap\x85\x40,3,50\r\n" + body, "bad pair");
    expectSameAsWholeFile(dir, body + "9,Z,Apple,3\r\n" + body, "short record");
    expectSameAsWholeFile(dir, body + "9,Z,Apple,3,5\x82", "cut-off lead byte");
    expectSameAsWholeFile(dir, body + "9,Z,Apple,3,\"open", "unclosed quote");
    // no file, and a folder in its place
    QFile::remove(dir.filePath(u"item_drop_db.txt"_s));
    const Items missing = byItemFile(dir, 5);
    ASSERT_TRUE(missing.error);
    EXPECT_EQ(missing.error->kind, ErrorKind::FileNotFound);
    ASSERT_TRUE(dir.mkdir(u"item_drop_db.txt"_s));
    const Items folder = byItemFile(dir, 5);
    ASSERT_TRUE(folder.error);
    EXPECT_EQ(folder.error->kind, byWholeFile(dir, 5).error->kind);
}

// Two threads read a file from its start and from the first LF after its middle. Records whose
// quoted scripts hold commas and line ends move the middle through every byte of a record: the
// cut falls in a script, between CR and LF, in a double-byte name, on a record's end; the items
// and the refusal must be those of one thread, wherever it falls.
TEST(ItemRead, FileReadByTwoThreadsGivesWhatOneThreadGives) {
    QTemporaryDir temp;
    ASSERT_TRUE(temp.isValid());
    const QDir dir(temp.path());
    QByteArray body;
    for (int i = 0; i < 12; ++i) {
        body += QByteArray::number(500 + i) + ",A" + QByteArray::number(i) + ",";
        body += sjis(i % 2 ? u"表札ｱ"_s : u"\"Apple, red\""_s);
        body += ",3,\"bonus,1;\r\n\n\nmore,\n2\"" + QByteArray(i % 3 ? "\r\n" : "\n");
    }
    // scripts that hold what reads as whole records, and that a read from inside them takes
    // for records to the end of the file
    QByteArray quotedLines;
    for (int i = 0; i < 12; ++i) {
        quotedLines += QByteArray::number(600 + i) + ",B,Name,3,\"x\n7,Q,Quoted,3,\"\r\n";
    }
    const QByteArray tails[] = {"", "9,Z,Ap\x85\x40,3,50\r\n", "9,Z,Apple,3\r\n",
                                "9,Z,Apple,3,\"open\n", "9,Z,Apple,3,5\r\n\r\n"};
    const auto compare = [&dir](const QByteArray& content, const char* what) {
        for (int shift = 0; shift < 2 * 64; ++shift) {
            writeItemFile(dir, "1," + QByteArray(shift, 'x') + ",N,3,4\n" + content);
            const Items one = byItemFile(dir, 5);
            expectSameItems(byItemFile(dir, 5, 0), one, what);
            // the one-thread read is itself the whole file's
            if (shift % 16 == 0) expectSameItems(one, byWholeFile(dir, 5), "one thread");
        }
    };
    for (const QByteArray& tail : tails)
        compare(body + tail, tail.isEmpty() ? "valid" : tail.data());
    compare(quotedLines + "9,Z,Last,3,\"x\"\r\n", "records inside quotes");
    // refused in the first half, with a valid second half; no LF at all (lone CRs)
    writeItemFile(dir, "1,Z,Ap\x85\x40,3,50\n" + body);
    expectSameItems(byItemFile(dir, 5, 0), byWholeFile(dir, 5), "bad pair in the first half");
    QByteArray crOnly = body;
    crOnly.replace("\r\n", "\r").replace('\n', '\r');
    writeItemFile(dir, crOnly);
    expectSameItems(byItemFile(dir, 5, 0), byWholeFile(dir, 5), "lone CRs");
    EXPECT_EQ(byItemFile(dir, 5, 0).rows.size(), 12u);
}
