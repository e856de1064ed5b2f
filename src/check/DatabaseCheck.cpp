#include "check/DatabaseCheck.h"

#include <QStringDecoder>
#include <algorithm>

#include "check/LineIndex.h"
#include "model/Blanks.h"
#include "model/ItemDatabase.h"
#include "model/MonsterDatabase.h"
#include "storage/Cp932.h"
#include "storage/FieldScan.h"
#include "storage/QuoteOverLines.h"
#include "storage/RecordReader.h"
#include "storage/RecordWriter.h"

namespace mdb::check {

using namespace Qt::StringLiterals;

namespace {

QString verdictFor(const StorageError& e, int width) {
    const QString number = u"（エラー番号 %1）"_s.arg(e.number());
    switch (e.kind) {
        case ErrorKind::FileNotFound:
            return u"ファイルがありません"_s + number;
        case ErrorKind::EndOfFileInRecord:
            return u"%1 件目のレコードの途中でファイルが終わります（%2 項目中 %3 項目しかありません）%4"_s
                .arg(e.record)
                .arg(width)
                .arg(e.field - 1)
                .arg(number);
        case ErrorKind::MisalignedRecord:
            return u"%1 行目（%2 件目のレコード）の項目数が 1 レコードの %3 項目と合いません%4"_s
                .arg(e.line)
                .arg(e.record)
                .arg(width)
                .arg(number);
        case ErrorKind::BadEncoding:
            return u"Shift_JIS（コードページ932）として読めないバイトがあります"_s + number;
        case ErrorKind::Utf8Text:
            return u"UTF-8 で保存されたファイルのようです。Shift_JIS（コードページ932）で保存し直して下さい"_s +
                   number;
        case ErrorKind::TooManyRecords:
            return u"レコードが多すぎます"_s + number;
        case ErrorKind::NotRegularFile:
            return u"通常のファイルではありません: %1%2"_s.arg(e.detail, number);
        case ErrorKind::FileTooLarge:
            return u"ファイルが大きすぎます（%1 バイト。上限は 1 GiB）%2"_s.arg(e.byteOffset)
                .arg(number);
        case ErrorKind::OpenFailed:
            return u"ファイルを開けません: %1%2"_s.arg(e.detail, number);
        default:
            return u"ファイルを読めません: %1%2"_s.arg(e.detail, number);
    }
}

QString describeCharacter(const QString& c) {
    if (c == u"\r"_s || c == u"\n"_s) return u"改行"_s;
    return u"「%1」"_s.arg(c);
}

QString hexBytes(QByteArrayView bytes) {
    QStringList parts;
    for (char b : bytes) {
        parts << u"0x"_s + QString::number(uchar(b), 16).toUpper().rightJustified(2, u'0');
    }
    return parts.join(u' ');
}

// The fields of one line of the file, as the reader splits them; a field in double quotes may
// carry the line on into later lines of the file.
struct LogicalLine {
    qint32 line = 0;
    int fields = 0;
    qint32 quoteRunsTo = 0;  // last line of a quoted field that spans lines
    bool quoteUnclosed = false;
};

class FileChecker {
public:
    FileChecker(const TableDescriptor& shape, FileReport& report)
        : shape_(shape), report_(report) {}

    void run(const QDir& dir);

private:
    void add(Severity severity, qint32 line, int column, QString text) {
        report_.findings.push_back({severity, line, column, std::move(text)});
    }
    void findUndecodableBytes(const QByteArray& bytes);
    void walkFields(const QString& text);
    void reportLines(const QString& text);
    void findUnwritableValues(Table& table);
    void findChangedCodes(const QByteArray& bytes, const QString& text);

    const TableDescriptor& shape_;
    FileReport& report_;
    LineIndex lines_;
    std::vector<qsizetype> fieldStarts_;
    std::vector<LogicalLine> logical_;
};

void FileChecker::run(const QDir& dir) {
    const bool keepValues = !shape_.fieldNames.isEmpty();
    Table table(shape_.fileName, keepValues ? shape_.fieldNames : QStringList());
    QString text;
    QByteArray read;
    const std::optional<StorageError> error = readRecordFile(
        dir, shape_.fileName, shape_.width, text, read, [&](const QStringView* fields) {
            // kept before the first record, so that the fields can be views into it
            if (report_.records == 0 && keepValues) table.keepBuffer(text);
            ++report_.records;
            return !keepValues || table.appendRecord(fields);
        });
    table.keepBuffer(text);

    if (error) {
        report_.verdict = verdictFor(*error, shape_.width);
        // Nothing more to find in a file that is not there or cannot be read.
        if (error->kind != ErrorKind::BadEncoding && error->kind != ErrorKind::EndOfFileInRecord &&
            error->kind != ErrorKind::MisalignedRecord) {
            return;
        }
    } else if (report_.records < shape_.minRecords) {
        report_.verdict = shape_.tooFewRecords;
    } else {
        report_.loads = true;
    }

    const QByteArray& bytes = read;
    if (error && error->kind == ErrorKind::BadEncoding) {
        findUndecodableBytes(bytes);
        // The rest of the file is still worth a look; undecodable bytes become substitutes here.
        QStringDecoder lenient("windows-31j", QStringConverter::Flag::Stateless);
        text = lenient.decode(bytes);
    }

    lines_ = LineIndex(QStringView(text));
    walkFields(text);
    reportLines(text);
    if (report_.loads && looksLikeUtf8(bytes)) {
        add(Severity::Warning, 0, 0,
            u"UTF-8 で保存されたファイルのようです（エディタは Shift_JIS として読むため、文字化けします）"_s);
    }
    if (keepValues && report_.loads) {
        findUnwritableValues(table);
        findChangedCodes(bytes, text);
    }

    std::stable_sort(report_.findings.begin(), report_.findings.end(),
                     [](const Finding& a, const Finding& b) { return a.line < b.line; });
    if (report_.findings.size() > size_t(kMaxFindingsPerFile)) {
        report_.omitted = int(report_.findings.size()) - kMaxFindingsPerFile;
        report_.findings.resize(kMaxFindingsPerFile);
    }
}

void FileChecker::findUndecodableBytes(const QByteArray& bytes) {
    const LineIndex byteLines{QByteArrayView(bytes)};
    for (qint32 line = 1; line <= byteLines.count(); ++line) {
        const QByteArrayView content = byteLines.content(QByteArrayView(bytes), line);
        // the reader refuses a NUL byte as it refuses one that does not decode
        qsizetype bad = content.indexOf('\0');
        const QByteArrayView decodable = bad < 0 ? content : content.first(bad);
        if (qsizetype before = -1; !cp932::decode(decodable, &before)) {
            bad = before;
        } else if (bad < 0) {
            continue;
        }
        // everything before the bad byte decodes, so its length in characters is the column
        const int column = int(cp932::decode(content.first(bad)).value_or(QString()).size()) + 1;
        const bool pair = (uchar(content[bad]) >= 0x81 && uchar(content[bad]) <= 0x9F) ||
                          uchar(content[bad]) >= 0xE0;
        const QByteArrayView shown =
            content.sliced(bad, std::min<qsizetype>(pair ? 2 : 1, content.size() - bad));
        add(Severity::Error, line, column,
            u"Shift_JIS（コードページ932）として読めないバイトがあります（%1）"_s.arg(
                hexBytes(shown)));
    }
}

void FileChecker::walkFields(const QString& text) {
    // Split the text into fields with the reader's own scanner: how it splits does not depend
    // on the record width, so this is the field stream the load sees, line by line.
    const qsizetype size = text.size();
    qint32 previousEnd = 0;
    for (qsizetype pos = 0; pos < size;) {
        const FieldSpan span = scanField(text.utf16(), size, pos);
        pos = span.next;
        const qsizetype start = span.valueStart;
        const qsizetype end = span.valueEnd;
        fieldStarts_.push_back(start);
        const qint32 startLine = lines_.lineOf(start);
        // A field that begins on the line where the one before it ended follows a comma.
        if (logical_.empty() || startLine != previousEnd) logical_.push_back({startLine});
        LogicalLine& current = logical_.back();
        ++current.fields;
        previousEnd = lines_.lineOf(end);

        const bool quoted = start > 0 && text[start - 1] == u'"';
        if (!quoted) continue;
        if (previousEnd != startLine) current.quoteRunsTo = previousEnd;
        if (span.openQuote) {
            current.quoteUnclosed = true;
            continue;
        }
        const QString dropped = text.mid(end + 1, span.end - end - 1).trimmed();
        if (!dropped.isEmpty()) {
            add(Severity::Warning, previousEnd, int(end - lines_.startOf(previousEnd)) + 2,
                u"閉じる「\"」の後の「%1」は読み込まれず、保存すると消えます"_s.arg(dropped));
        }
    }
}

void FileChecker::reportLines(const QString& text) {
    const bool endsWithComma = text.endsWith(u',');
    for (size_t i = 0; i < logical_.size(); ++i) {
        const LogicalLine& l = logical_[i];
        const bool lastEndsWithComma = endsWithComma && i + 1 == logical_.size();
        const QStringView content = lines_.content(QStringView(text), l.line);
        qsizetype first = 0;
        while (first < content.size() && isBlank(content[first])) ++first;

        // A record is one line: a line of any other field count is refused where it stands.
        QString what;
        if (first == content.size()) {
            what = u"空白行です（空の項目 1 つとして読まれます）"_s;
        } else if (content.sliced(first).startsWith(u"//"_s)) {
            what =
                l.fields == shape_.width
                    ? u"//で始まる行はコメントではなく、1 件のレコードとして読み込まれます"_s
                    : u"//で始まる行はコメントではなく、項目が %1 個のデータとして読まれます（1 レコードは %2 項目）"_s
                          .arg(l.fields)
                          .arg(shape_.width);
        } else if (l.fields != shape_.width) {
            what =
                u"項目が %1 個あります（1 レコードは %2 項目）"_s.arg(l.fields).arg(shape_.width);
        } else if (lastEndsWithComma) {
            what = u"最後の項目の後に「,」があります（1 レコードは %1 項目）"_s.arg(shape_.width);
        } else if (!l.quoteUnclosed && !l.quoteRunsTo) {
            continue;
        }
        const bool refused = l.fields != shape_.width || l.quoteUnclosed || lastEndsWithComma;
        const auto join = [&what](const QString& more) {
            what += what.isEmpty() ? more : u"。"_s + more;
        };
        if (l.quoteUnclosed) {
            join(u"この行の「\"」は閉じられず、ファイルの終わりまでが 1 項目になります"_s);
        } else if (l.quoteRunsTo) {
            join(quoteOverLinesText(l.quoteRunsTo));
        }
        if (lastEndsWithComma && l.fields != shape_.width) {
            join(u"ファイル末尾の「,」の後の項目は読めません"_s);
        }
        add(refused ? Severity::Error : Severity::Warning, l.line, 0, what);
    }
}

void FileChecker::findUnwritableValues(Table& table) {
    const TableDescriptor& layout = shape_;
    // The writer names the first value it refuses; blank it out and ask again for the next.
    for (int found = 0; found <= kMaxFindingsPerFile; ++found) {
        QByteArray bytes;
        const std::optional<StorageError> e = encodeTable(table, layout, bytes);
        if (!e || e->record < 1 || e->field < 1) return;
        const size_t index = size_t(e->record - 1) * size_t(shape_.width) + size_t(e->field - 1);
        qint32 line = 0;
        int column = 0;
        if (index < fieldStarts_.size()) {
            const qsizetype start = fieldStarts_[index];
            const qsizetype at = table.fieldView(e->record, e->field).indexOf(e->character);
            line = lines_.lineOf(start + std::max<qsizetype>(at, 0));
            column = int(start + std::max<qsizetype>(at, 0) - lines_.startOf(line)) + 1;
        }
        add(Severity::Warning, line, column,
            u"%1 項目目（%2）の%3はエディタが書き戻せません（この項目を編集すると保存が拒否されます）"_s
                .arg(e->field)
                .arg(e->fieldName, describeCharacter(e->character)));
        table.setField(e->record, e->field, QString());
    }
}

void FileChecker::findChangedCodes(const QByteArray& bytes, const QString& text) {
    // Some characters have two codes in code page 932 (the NEC and IBM extensions); the
    // writer spells each character with one of them, so the other comes back as other bytes.
    const std::optional<QByteArray> written = cp932::encode(text);
    if (!written || *written == bytes) return;
    const LineIndex byteLines{QByteArrayView(bytes)};
    for (qint32 line = 1; line <= byteLines.count(); ++line) {
        const QByteArrayView content = byteLines.content(QByteArrayView(bytes), line);
        int column = 1;
        for (qsizetype i = 0; i < content.size(); ++column) {
            const qsizetype length = cp932::isLeadByte(uchar(content[i])) ? 2 : 1;
            const QByteArrayView code = content.sliced(i, std::min(length, content.size() - i));
            i += code.size();
            const std::optional<QString> character = cp932::decode(code);
            const std::optional<QByteArray> back =
                character ? cp932::encode(*character) : std::nullopt;
            if (!back || *back == code) continue;
            add(Severity::Warning, line, column,
                u"「%1」（%2）は、この項目を編集して保存すると %3 になります（同じ文字の別のコード）"_s
                    .arg(*character, hexBytes(code), hexBytes(*back)));
        }
    }
}

}  // namespace

bool FileReport::hasWarnings() const {
    return std::any_of(findings.begin(), findings.end(),
                       [](const Finding& f) { return f.severity == Severity::Warning; });
}

int FileReport::noteCount() const {
    return int(std::count_if(findings.begin(), findings.end(),
                             [](const Finding& f) { return f.severity == Severity::Note; }));
}

std::vector<const TableDescriptor*> databaseFiles() {
    std::vector<const TableDescriptor*> files;
    for (const TableDescriptor* table : Tables::monsterTables()) files.push_back(table);
    for (const TableDescriptor* table : Tables::itemTables()) files.push_back(table);
    return files;
}

FileReport checkFile(const QDir& dir, const TableDescriptor& shape) {
    FileReport report;
    report.fileName = shape.fileName;
    FileChecker(shape, report).run(dir);
    return report;
}

}  // namespace mdb::check
