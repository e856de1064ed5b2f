#pragma once

#include <QString>

namespace mdb::bench {

// Writes into `to` the database files of `from` grown `factor` times: the records of each file
// `factor` times over, every copy after the first with its own monster keys and IDs (so that
// look-ups find each copy's own records) and, in odd copies, Japanese display and item names.
// The files keep the source's shape: its long quoted item scripts with commas, its line ends.
void growDatabase(const QString& from, const QString& to, int factor);

}  // namespace mdb::bench
