#pragma once

#include <QStringList>
#include <QTextStream>

namespace mdb::check {

// The command line of monster-db-check: `arguments` as in QCoreApplication::arguments() (the
// program first). Writes the report to `out` and usage errors to `err`; returns the exit
// status: 0 when all ten files load, 1 when one does not (or, with --strict, when a warning
// was found), 2 for a wrong command line or a folder that does not exist.
int runChecker(const QStringList& arguments, QTextStream& out, QTextStream& err);

}  // namespace mdb::check
