#pragma once

namespace mdb {

class MessageSink;
class MonsterDatabase;

// At start, once the files are read: a double-quoted field that runs over a line end makes a
// record take the next line's values, so the user is shown where (file, first and last line)
// and chooses whether to go on. Ending is the default, and what closing the question means.
// Returns whether the start may go on; true at once when no file holds such a field.
bool acceptQuotesOverLines(const MonsterDatabase& db, MessageSink& messages);

}  // namespace mdb
