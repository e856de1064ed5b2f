#pragma once

#include <QByteArray>
#include <optional>

#include "model/MonsterDatabase.h"
#include "model/Table.h"
#include "storage/ChunkedOutput.h"
#include "storage/StorageError.h"

namespace mdb {

// Writes a table whose source bytes its text gives back (no bytes kept) as encodeTableFaithfully
// does, without walking every field: only the written fields are looked at, found in the text
// where they were loaded. Nothing when that cannot be trusted (a written field that was not
// loaded from the text, or one that does not stand where a field begins), so that the caller
// walks instead; otherwise the refusal, or none with the bytes handed to `out` (when given).
std::optional<std::optional<StorageError>> rewriteWrittenFields(const Table& table,
                                                                const TableDescriptor& layout,
                                                                ChunkedOutput* out);

}  // namespace mdb
