#pragma once

#include <QByteArray>
#include <QDir>
#include <QString>
#include <QStringList>
#include <optional>

#include "model/MonsterDatabase.h"
#include "model/Table.h"
#include "storage/StorageError.h"

namespace mdb {

// Encodes a whole table in its normal form: one line per record 1..Count, fields joined by a
// single comma, the layout's quoted field in double quotes, each line ended by CR LF; a table
// with no record gives no bytes. Refuses (UnwritableField, Unencodable; naming the record, the
// field and the character) any field that would read back differently: a double quote or a
// line end anywhere, a comma outside the quoted field, a character code page 932 cannot hold.
std::optional<StorageError> encodeTable(const Table& table, const TableLayout& layout,
                                        QByteArray& out);

// Replaces a file whole through a temporary file: on any failure (cannot create, short write,
// cannot rename) the old file keeps its old content and WriteFailed names the reason.
std::optional<StorageError> writeWholeFile(const QDir& dir, const QString& fileName,
                                           const QByteArray& bytes);

// Appends one unquoted record line ended by CR LF to a file (created when missing). When the
// file is not empty and does not end with a line end, a CR LF is written first so that the new
// record never continues the old last line. Refuses fields the line cannot hold, as above,
// before the file is touched.
std::optional<StorageError> appendRecordLine(const QDir& dir, const QString& fileName,
                                             const QStringList& fields);

}  // namespace mdb
