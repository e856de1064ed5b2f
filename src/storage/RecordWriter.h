#pragma once

#include <QByteArray>
#include <QDir>
#include <QString>
#include <QStringList>
#include <optional>

#include "model/MonsterDatabase.h"
#include "model/Table.h"
#include "storage/ChunkedOutput.h"
#include "storage/SafeWrite.h"
#include "storage/StorageError.h"

namespace mdb {

// Encodes one field in its normal form: in double quotes when the layout quotes it or when it
// begins or ends with a blank (which the reader would otherwise drop), bare otherwise. Refuses
// (UnwritableField, Unencodable; naming the character) what would read back differently: a line
// end anywhere, a double quote inside quotes or at the start of a bare field, a comma in a bare
// field, a character code page 932 cannot hold.
std::optional<StorageError> encodeField(QStringView value, bool layoutQuoted, QByteArray& out);

// Encodes a whole table in its normal form: one line per record 1..Count, every field as
// encodeField writes it, joined by a single comma, each line ended by CR LF; a table with no
// record gives no bytes. A refusal names the record and the field.
std::optional<StorageError> encodeTable(const Table& table, const TableDescriptor& layout,
                                        QByteArray& out);

// Encodes a table read from a file so that every field not written since keeps exactly the
// bytes it was read with (quotes, blanks, text after a closing quote, the code page's duplicate
// codes, line ends); only written fields whose value differs from what was read take the normal
// form. A table without a source file is encoded as encodeTable does.
std::optional<StorageError> encodeTableFaithfully(const Table& table, const TableDescriptor& layout,
                                                  QByteArray& out);
// The same, handing the bytes to `out` a piece at a time as they are made: the whole file is
// never held. A refusal can come after bytes were handed on: check the table first.
std::optional<StorageError> writeTableFaithfully(const Table& table, const TableDescriptor& layout,
                                                 ChunkedOutput& out);
// The refusal encodeTableFaithfully would give, without making the bytes.
std::optional<StorageError> checkTableFaithfully(const Table& table, const TableDescriptor& layout);

// Appends one record line, its fields in their normal form (none quoted by layout) and ended by
// CR LF, to a file (created when missing), all or nothing. The file must end between records of
// the line's width, outside quotes and not after a comma; when its last line has no line end,
// one is written first. Otherwise (NotRecordBoundary), and for fields the line cannot hold,
// nothing is written. `written`, when given, receives the record line as appended (without a
// line end written first to close the file's last line); `digests` what the file held before
// and after (appendToFile).
std::optional<StorageError> appendRecordLine(const QDir& dir, const QString& fileName,
                                             const QStringList& fields,
                                             QByteArray* written = nullptr,
                                             AppendDigests* digests = nullptr);

// Puts lines appended to a file after the encoded records of its table, as the appender put
// them there: on a line of their own, so that a file that ended without a line end gets the
// same one the appender wrote first.
void followWithAppendedLines(ChunkedOutput& records, const QByteArray& lines);

// What appendRecordLine adds to a file that holds `content`, with the same refusals, without
// touching any file.
std::optional<StorageError> planRecordAppend(const QString& fileName, const QStringList& fields,
                                             const QByteArray& content, QByteArray& append);

}  // namespace mdb
