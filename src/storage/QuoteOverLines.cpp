#include "storage/QuoteOverLines.h"

#include "model/Blanks.h"

namespace mdb {

using namespace Qt::StringLiterals;

namespace {

bool isLineEnd(QChar c) {
    return c == u'\r' || c == u'\n';
}

// Counts lines forward from a place already counted, so that finding the lines of many fields
// costs one walk through the text.
class LineCounter {
public:
    explicit LineCounter(QStringView text) : text_(text) {}
    qint32 lineOf(qsizetype offset) {
        for (; at_ < offset; ++at_) {
            const QChar c = text_[at_];
            // CR LF is one line end, counted at its LF
            if (c == u'\n' ||
                (c == u'\r' && (at_ + 1 >= text_.size() || text_[at_ + 1] != u'\n'))) {
                ++line_;
            }
        }
        return line_;
    }

private:
    QStringView text_;
    qsizetype at_ = 0;
    qint32 line_ = 1;
};

// Whether the double quote at `quote` begins a field: only blanks stand between it and the
// comma or line end that ended the field before, or the start of the text. A quote inside a
// bare field or in the text dropped after a closing quote has something else before it.
bool opensField(QStringView text, qsizetype quote) {
    qsizetype i = quote;
    while (i > 0 && isBlank(text[i - 1])) --i;
    return i == 0 || text[i - 1] == u',' || isLineEnd(text[i - 1]);
}

}  // namespace

std::vector<QuoteOverLines> findQuotesOverLines(QStringView text) {
    std::vector<QuoteOverLines> found;
    LineCounter lines(text);
    for (qsizetype pos = 0;;) {
        const qsizetype open = text.indexOf(u'"', pos);
        if (open < 0) break;
        if (!opensField(text, open)) {
            pos = open + 1;
            continue;
        }
        const qsizetype close = text.indexOf(u'"', open + 1);
        if (close < 0) break;
        for (qsizetype i = open + 1; i < close; ++i) {
            if (isLineEnd(text[i])) {
                const qint32 first = lines.lineOf(open);
                found.push_back({first, lines.lineOf(close)});
                break;
            }
        }
        pos = close + 1;
    }
    return found;
}

QString quoteOverLinesText(qint32 lastLine) {
    return u"この行の「\"」で始まる項目が %1 行目まで続いています"_s.arg(lastLine);
}

}  // namespace mdb
