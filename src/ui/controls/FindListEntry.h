#pragma once

#include <QString>

namespace mdb {

class ColumnModel;
class ListCore;

enum class MatchMode { Prefix = 0, WholeText = 1 };

// First row, from the top, whose text equals `text` (WholeText) or begins with it (Prefix),
// ignoring letter case; -1 when none does. A whole-text search of an indexed column is a
// look-up, not a scan.
int findRow(const ColumnModel& model, const QString& text, MatchMode mode);

// Searches the list and selects the row found, or no row, which raises the list's Click as a
// user's choice would. Returns the row or -1.
int FindListEntry(ListCore& list, const QString& text, MatchMode mode);

}  // namespace mdb
