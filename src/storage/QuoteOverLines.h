#pragma once

#include <QString>
#include <QStringView>
#include <vector>

namespace mdb {

// A field whose double quotes run over a line end. The reader takes everything up to the next
// double quote as the field's text, so a display name whose closing quote is missing swallows the
// next line: its record shows the next record's values, the next record disappears, and a save
// writes the edited values into the next record's line. The editor never writes such a field.
struct QuoteOverLines {
    qint32 firstLine = 0;  // 1-based line of the opening quote
    qint32 lastLine = 0;   // 1-based line of the closing quote
};

// Every such field of decoded file text, in file order, found as the reader splits fields: a
// double quote opens a field only where a field begins (after a comma, a line end or the start,
// and blanks), and a quote the end of the text closes is not counted (the reader refuses it).
// Only the quotes are looked at, so a file with few of them costs one search through its text.
std::vector<QuoteOverLines> findQuotesOverLines(QStringView text);

// The words for one of them, said of its first line; the checker and the editor both use them.
QString quoteOverLinesText(qint32 lastLine);

}  // namespace mdb
