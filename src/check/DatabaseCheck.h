#pragma once

#include <QDir>
#include <QString>
#include <vector>

#include "model/TableDescriptor.h"

namespace mdb::check {

// What the editor would do with one finding: refuse the file, load it with a risk the user
// should know about, or load it soundly with something the editor cannot reach (told only on
// request, so that sound data gives a quiet report).
enum class Severity { Error, Warning, Note };

struct Finding {
    Severity severity = Severity::Error;
    qint32 line = 0;  // 1-based line of the file, 0 when the finding is about the whole file
    int column = 0;   // 1-based character column, 0 when not told
    QString text;     // what is wrong there, in the user's words
};

struct FileReport {
    QString fileName;
    bool loads = false;  // the editor's reader (and start-up) would accept the file
    qint32 records = 0;  // records read before the end or the failure
    QString verdict;     // why the file is refused, empty when it loads
    std::vector<Finding> findings;
    int omitted = 0;  // findings left out to keep the report short

    bool hasWarnings() const;
    int noteCount() const;
};

// The seven monster files in their load order, then the three item files: each file's shape and
// what the editor asks of it beyond its format (the fewest records) is its descriptor's.
std::vector<const TableDescriptor*> databaseFiles();

// Reads one file with the editor's own reader and, where something is wrong, tells where.
FileReport checkFile(const QDir& dir, const TableDescriptor& shape);

// At most this many findings are listed per file; the rest are only counted.
constexpr int kMaxFindingsPerFile = 20;

}  // namespace mdb::check
