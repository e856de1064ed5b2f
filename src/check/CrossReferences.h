#pragma once

#include <QDir>
#include <QString>
#include <vector>

#include "check/DatabaseCheck.h"

namespace mdb::check {

// A finding about a reference between the files, told at the line of the record that holds it.
struct ReferenceFinding {
    QString fileName;
    Finding finding;
};

// What an administrator breaks most often while editing, and the editor silently passes over:
// a drop or MVP item ID that no item file holds, a metamorphosis, slave or summon entry or a
// dependent record naming a monster key that the status file lacks (or that is its placeholder
// line), and two records for one key, of which the editor reaches only the first. Keys and IDs
// are compared ignoring letter case, as the editor looks them up.
//
// `dir` must hold seven monster files that load; item IDs are checked only when `checkItems`
// (the three item files load too). The findings come in load order of the files, then by line.
std::vector<ReferenceFinding> checkReferences(const QDir& dir, bool checkItems);

}  // namespace mdb::check
