#pragma once

#include <QtGlobal>

#include "model/ItemDatabase.h"
#include "storage/Cp932Table.h"

namespace mdb {

// Reads the whole records of data[pos, size) of an item file into `table`, finding the fields
// on the raw bytes and decoding each ID and name through the character table; the bytes must
// have passed its check, and the table's width must be at least ItemField::ItemName. `whole`
// says that the bytes end where the file ends; otherwise a record they cut off is left for a
// read with more of them. Returns where the records read end, or -1 when a record is not whole
// (the full reader must then say why).
qsizetype scanItemRecords(const cp932::CharTable& chars, const char* data, qsizetype size,
                          bool whole, qsizetype pos, ItemTable& table);

}  // namespace mdb
