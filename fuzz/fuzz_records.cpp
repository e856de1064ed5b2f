// libFuzzer target for the record reader over the code page 932 decoder. The first byte of an
// input picks one of the ten database files (its width and layout), the rest is the file.
// Besides crashes and sanitizer reports it checks that every field the reader hands over is the
// one a plain walk by the full field rules finds, and three properties of every file the reader
// accepts: the writer either refuses the records or writes bytes that read back to the same
// fields, in its normal form and faithfully after one field is changed, emptied or given a value
// at the edge of what it accepts (blanks, commas, double quotes); and a record appended
// to the file reads back as the old records plus the new one. Every input is also read as a
// recovery journal (checkJournal), and an item file by the item reader too (checkItemReader).
// The writer never writes what the reader refuses: every code point, put into a quoted and a bare
// field of a record as an update puts it, is either refused with its record, field and character
// named, or written so that it reads back (checkEveryCodePoint, once at start); the code point
// the input's last three bytes pick goes the same way into the input's own file (checkCodePoint).
// Fields whose double quotes run over a line end are found as the reader splits fields
// (checkQuotesOverLines).

#include <QFile>
#include <QTemporaryDir>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "model/ItemDatabase.h"
#include "model/MonsterDatabase.h"
#include "storage/Cp932.h"
#include "storage/ExactBytes.h"
#include "storage/FieldScan.h"
#include "storage/ItemRead.h"
#include "storage/Journal.h"
#include "storage/QuoteOverLines.h"
#include "storage/RecordReader.h"
#include "storage/RecordWriter.h"

using namespace mdb;
using namespace Qt::StringLiterals;

namespace {

struct FileShape {
    QString name;
    QStringList fieldNames;
    int quotedField = 0;
};

std::vector<FileShape> makeSpecs() {
    std::vector<FileShape> shapes;
    for (const TableId id : kSaveOrder) {
        const TableDescriptor& d = Tables::of(id);
        shapes.push_back({d.fileName, d.fieldNames, d.quotedField});
    }
    const ItemDatabase items;
    for (const ItemTable* t : items.loadOrder()) {
        QStringList names;
        for (int f = 1; f <= t->width(); ++f) names << u"F%1"_s.arg(f);
        shapes.push_back({t->fileName(), names, 0});
    }
    return shapes;
}

[[noreturn]] void violated(const char* what) {
    std::fprintf(stderr, "property violated: %s\n", what);
    std::abort();
}

// Every field of every record, in order; nullopt when the reader refuses the bytes.
std::optional<std::vector<QString>> readBack(const QByteArray& bytes, const FileShape& shape) {
    QString text;
    std::vector<QString> fields;
    const int width = int(shape.fieldNames.size());
    if (readRecords(bytes, shape.name, width, text, [&](const QStringView* record) {
            for (int i = 0; i < width; ++i) fields.push_back(record[i].toString());
            return true;
        })) {
        return std::nullopt;
    }
    return fields;
}

std::vector<QString> fieldsOf(const Table& table) {
    std::vector<QString> fields;
    for (qint32 r = 1; r <= table.Count(); ++r) {
        for (int f = 1; f <= table.fieldCount(); ++f) fields.push_back(table.field(r, f));
    }
    return fields;
}

// What a writer wrote must read back to the table's fields.
void checkWritten(const QByteArray& written, const Table& table, const FileShape& shape,
                  const char* what) {
    const auto back = readBack(written, shape);
    if (!back) violated(what);
    if (*back != fieldsOf(table)) violated(what);
}

// The journal reader, on the input as a whole journal and as the bytes of one entry behind an
// intact header (past the checks, into the entry's own reading). What it accepts, written
// again, reads back to the same updates.
void checkJournal(const QByteArray& input) {
    const QByteArray header = Journal::headerBytes(u"/f"_s, {});
    for (const QByteArray& journal : {input, header + Journal::entryBytes(input)}) {
        const JournalContents read = readJournal(journal);
        if (read.damaged) continue;
        QByteArray again = Journal::headerBytes(read.folder, read.files);
        for (const JournalUpdate& update : read.updates) again += Journal::updateBytes(update);
        const JournalContents back = readJournal(again);
        if (back.damaged || back.updates.size() != read.updates.size()) {
            violated("a journal written again does not read back");
        }
        for (size_t i = 0; i < read.updates.size(); ++i) {
            if (back.updates[i].size() != read.updates[i].size()) violated("journal update size");
            for (size_t k = 0; k < read.updates[i].size(); ++k) {
                const JournalChange& a = read.updates[i][k];
                const JournalChange& b = back.updates[i][k];
                if (a.fileName != b.fileName || a.record != b.record || a.field != b.field ||
                    a.before != b.before || a.after != b.after) {
                    violated("a journal change reads back differently");
                }
            }
        }
    }
}

// Values at the edges of what the writer accepts: empty, blanks that only quotes keep, commas
// and double quotes that some places can hold.
const QString kEdgeValues[] = {QString(), u" "_s,   u"\t"_s,   u" a"_s, u"a "_s,  u"a b"_s, u","_s,
                               u"a,b"_s,  u" a,"_s, u"a\"b"_s, u"\""_s, u"a\""_s, u"\"a"_s};

// Each edit on its own, the field put back after it: whatever the writer does not refuse must
// read back field for field. The last record's fields are where a file without a final line end
// shows what an emptied field does at the very end.
void checkEdits(Table& table, const TableDescriptor& layout, const FileShape& shape, qint32 record,
                int field) {
    auto tryEdit = [&](qint32 r, int f, const QString& value) {
        const QString before = table.field(r, f);
        table.setField(r, f, value);
        QByteArray written;
        if (!encodeTableFaithfully(table, layout, written)) {
            checkWritten(written, table, shape, "faithful form after an edge edit");
        }
        table.setField(r, f, before);
    };
    const qint32 last = table.Count();
    for (int f = 1; f <= table.fieldCount(); ++f) tryEdit(last, f, QString());
    for (const QString& value : kEdgeValues) {
        tryEdit(record, field, value);
        tryEdit(last, table.fieldCount(), value);
    }
}

// The item reader, on the bytes whole and on a file it reads by one thread and by two, must keep
// exactly the IDs and names the full reader reads and give exactly its refusal.
void checkItemReader(const QByteArray& bytes, const FileShape& shape) {
    const int width = int(shape.fieldNames.size());
    std::vector<QString> expected;
    QString text;
    const auto error = readRecords(bytes, shape.name, width, text, [&](const QStringView* f) {
        expected.push_back(f[ItemField::ItemId - 1].toString());
        expected.push_back(f[ItemField::ItemName - 1].toString());
        return true;
    });
    const auto same = [&](const ItemTable& table, const std::optional<StorageError>& got) {
        if (got.has_value() != error.has_value()) return false;
        if (error && (got->kind != error->kind || got->record != error->record ||
                      got->byteOffset != error->byteOffset)) {
            return false;
        }
        if (size_t(table.Count()) * 2 != expected.size()) return false;
        for (qint32 r = 1; r <= table.Count(); ++r) {
            if (table.ItemIdView(r) != expected[size_t(2 * r - 2)] ||
                table.ItemNameView(r) != expected[size_t(2 * r - 1)]) {
                return false;
            }
        }
        return true;
    };
    const ItemDatabase items;
    const ItemTable* model = nullptr;
    for (const ItemTable* t : items.loadOrder()) {
        if (t->fileName() == shape.name) model = t;
    }
    ItemTable table = model->emptyCopy();
    if (!same(table, readItemRecords(bytes, table))) violated("the item reader differs");
    static const QTemporaryDir dir;
    QFile file(QDir(dir.path()).filePath(shape.name));
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
        file.write(bytes) != bytes.size()) {
        violated("cannot write the item file");
    }
    file.close();
    for (const qint64 splitFrom : {qint64(-1), qint64(0)}) {
        ItemTable read = model->emptyCopy();
        if (!same(read, readItemFile(QDir(dir.path()), read, splitFrom))) {
            violated("the item file read differs");
        }
    }
}

// Puts `value` into field `field` of record `record`, as the update command stores a control's
// text, and saves the table as the save does: either the refusal names that record and field
// and a character the value holds, or the bytes written read back to the table's fields.
void checkCommit(Table& table, const TableDescriptor& layout, const FileShape& shape, qint32 record,
                 int field, const QString& value, const QString& character) {
    const QString before = table.field(record, field);
    table.setField(record, field, value);
    if (const auto refused = checkTableFaithfully(table, layout)) {
        if (refused->record != record || refused->field != field) {
            violated("a refusal names another field");
        }
        if (refused->character.isEmpty() || !value.contains(refused->character)) {
            violated("a refusal names no character of the value");
        }
        // the code point itself is refused only for what the reader cannot take back
        if (refused->character == character && !character.isEmpty()) {
            const std::optional<QByteArray> alone = cp932::encode(character);
            if (alone && !alone->contains('\0') && !alone->contains('\r') &&
                !alone->contains('\n') && !alone->contains(',') && !alone->contains('"')) {
                violated("a character the reader takes back is refused");
            }
        }
    } else {
        QByteArray written;
        if (encodeTableFaithfully(table, layout, written)) violated("checked, then refused");
        // the JIS forms an input method gives come back as the code page's own characters
        std::vector<QString> expected = fieldsOf(table);
        expected[size_t(record - 1) * size_t(table.fieldCount()) + size_t(field - 1)] =
            cp932::toCp932Forms(value);
        if (readBack(written, shape) != expected) {
            violated("a committed code point does not read back");
        }
    }
    table.setField(record, field, before);
}

QString codePoint(char32_t c) {
    return QString::fromUcs4(&c, 1);
}

// Every code point (a lone surrogate as the one UTF-16 unit a pasted text can hold), in the
// middle of a quoted field and at the start of a bare one, in a status file of one record.
void checkEveryCodePoint() {
    const TableDescriptor& layout = Tables::of(TableId::Status);
    const FileShape shape{layout.fileName, layout.fieldNames, layout.quotedField};
    Table table(shape.name, shape.fieldNames);
    QString line = u"1,A,\"B\""_s;
    for (int f = 4; f <= table.fieldCount(); ++f) line += u",1"_s;
    line += u"\r\n"_s;
    // kept as a load keeps it, so that the save writes the record from its source
    table.keepSource(line, std::nullopt);
    if (parseRecords(table.sourceText(), shape.name, table.fieldCount(),
                     [&](const QStringView* fields) { return table.appendRecord(fields); })) {
        violated("the sweep's record does not read");
    }
    for (char32_t c = 0; c <= 0x10FFFF; ++c) {
        const QString character =
            c >= 0xD800 && c <= 0xDFFF ? QString(QChar(char16_t(c))) : codePoint(c);
        checkCommit(table, layout, shape, 1, StatusField::DisplayName, u"a"_s + character + u"b"_s,
                    character);
        checkCommit(table, layout, shape, 1, StatusField::Name, character + u"b"_s, character);
    }
}

// The reader's own walk by the full rules gives the fields whose quotes run over a line end;
// findQuotesOverLines must find exactly those, with their first and last lines.
void checkQuotesOverLines(const QString& text) {
    std::vector<QuoteOverLines> expected;
    auto lineOf = [&](qsizetype offset) {
        qint32 line = 1;
        for (qsizetype i = 0; i < offset; ++i) {
            if (text[i] == u'\n' ||
                (text[i] == u'\r' && (i + 1 >= text.size() || text[i + 1] != u'\n'))) {
                ++line;
            }
        }
        return line;
    };
    for (qsizetype pos = 0; pos < text.size();) {
        const FieldSpan span = scanField(text.utf16(), text.size(), pos);
        const bool quoted =
            span.valueStart > 0 && text[span.valueStart - 1] == u'"' && span.valueStart > pos;
        const QStringView value =
            QStringView(text).sliced(span.valueStart, span.valueEnd - span.valueStart);
        if (quoted && !span.openQuote && (value.contains(u'\r') || value.contains(u'\n'))) {
            expected.push_back({lineOf(span.valueStart - 1), lineOf(span.valueEnd)});
        }
        pos = span.next;
    }
    const std::vector<QuoteOverLines> found = findQuotesOverLines(text);
    if (found.size() != expected.size()) violated("quotes over lines: another count");
    for (size_t i = 0; i < found.size(); ++i) {
        if (found[i].firstLine != expected[i].firstLine ||
            found[i].lastLine != expected[i].lastLine) {
            violated("quotes over lines: other lines");
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    checkEveryCodePoint();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const std::vector<FileShape> shapes = makeSpecs();
    checkJournal(QByteArray(reinterpret_cast<const char*>(data), qsizetype(size)));
    if (size < 1) return 0;
    const FileShape& shape = shapes[data[0] % shapes.size()];
    const QByteArray bytes(reinterpret_cast<const char*>(data + 1), qsizetype(size - 1));
    const int width = int(shape.fieldNames.size());
    TableDescriptor layout;
    layout.fileName = shape.name;
    layout.width = width;
    layout.quotedField = shape.quotedField;
    if (shape.name.startsWith(u"item_"_s)) checkItemReader(bytes, shape);

    Table table(shape.name, shape.fieldNames);
    QString text;
    qsizetype walked = 0;  // a plain walk field by field by the full rules, beside the reader
    const bool exact = cp932::encodesBackExactly(bytes);
    {
        // the load learns whether the bytes encode back while it decodes them
        QString decoded;
        bool learnt = !exact;
        if (!decodeRecordText(bytes, shape.name, decoded, &learnt)) {
            if (learnt != exact) violated("the verdict the decoder learns differs from the rule's");
            // the table the load decodes through must give the converter's own text
            if (cp932::decode(bytes) != decoded) violated("the table decodes otherwise");
        }
    }
    const auto error = readRecords(bytes, shape.name, width, text, [&](const QStringView* fields) {
        // the source is kept before the first record, as the load keeps it
        if (!table.hasSource()) {
            table.keepSource(text, exact ? std::nullopt : std::optional<QByteArray>(bytes));
        }
        for (int i = 0; i < width; ++i) {
            const FieldSpan span = scanField(text.utf16(), text.size(), walked);
            const QStringView expected(text.utf16() + span.valueStart,
                                       span.valueEnd - span.valueStart);
            if (fields[i].utf16() != expected.utf16() || fields[i].size() != expected.size()) {
                violated("a field differs from the one the full rules find");
            }
            walked = span.next;
        }
        return table.appendRecord(fields);
    });
    if (error) {
        if (error->kind == ErrorKind::BadEncoding) {
            // everything before the bad byte the reader names must decode
            if (error->byteOffset < 0 || error->byteOffset >= bytes.size()) {
                violated("bad byte outside the file");
            }
            const QByteArrayView before = QByteArrayView(bytes).first(error->byteOffset);
            if (!cp932::decode(before) || before.contains('\0')) {
                violated("bytes before the named bad byte do not decode");
            }
        }
        return 0;
    }
    if (!table.hasSource()) {
        table.keepSource(text, exact ? std::nullopt : std::optional<QByteArray>(bytes));
    }
    const std::vector<QString> asRead = fieldsOf(table);
    checkQuotesOverLines(text);

    // the normal form
    QByteArray normal;
    if (!encodeTable(table, layout, normal)) checkWritten(normal, table, shape, "normal form");

    // faithfully, untouched and after one field changed
    QByteArray faithful;
    if (encodeTableFaithfully(table, layout, faithful) || faithful != bytes) {
        violated("an untouched table is not written back as read");
    }
    if (table.Count() > 0) {
        const qint32 record = qint32(size % quint32(table.Count())) + 1;
        const int field = int(size / 7 % quint32(width)) + 1;
        const QString other = table.field(table.Count() + 1 - record, width + 1 - field);
        table.setField(record, field, other + u'x');
        if (!encodeTableFaithfully(table, layout, faithful)) {
            checkWritten(faithful, table, shape, "faithful form after a change");
        }
        checkEdits(table, layout, shape, record, field);
        if (size >= 4) {
            const char32_t c = (char32_t(data[size - 3]) << 16 | char32_t(data[size - 2]) << 8 |
                                char32_t(data[size - 1])) %
                               0x110000;
            const QString character =
                c >= 0xD800 && c <= 0xDFFF ? QString(QChar(char16_t(c))) : codePoint(c);
            checkCommit(table, layout, shape, record, field, other + character, character);
        }
    }

    // an appended record: the first record's fields (or blanks) once more
    QStringList line;
    for (int f = 1; f <= width; ++f) line << (table.Count() > 0 ? table.field(1, f) : QString());
    QByteArray append;
    if (const auto refused = planRecordAppend(shape.name, line, bytes, append)) {
        if (refused->kind == ErrorKind::NotRecordBoundary) {
            violated("an append refused on a file the reader accepts");
        }
        return 0;
    }
    const auto back = readBack(bytes + append, shape);
    if (!back) violated("the file with the appended line does not read");
    std::vector<QString> expected = asRead;
    for (const QString& f : line) expected.push_back(f);
    if (*back != expected) violated("the appended line does not read back as one more record");
    return 0;
}
