#pragma once

#include <QByteArrayView>
#include <QStringView>
#include <algorithm>
#include <vector>

namespace mdb::check {

// Where the lines of a text (or of its bytes) begin and end. A line ends at CR LF, a lone CR
// or a lone LF, as the reader takes them; in code page 932 neither byte is ever the second
// byte of a character, so the bytes of a file split into the same lines as its text.
class LineIndex {
public:
    LineIndex() = default;
    explicit LineIndex(QStringView text) { build(text); }
    explicit LineIndex(QByteArrayView bytes) { build(bytes); }

    qint32 count() const { return qint32(starts_.size()); }
    // 1-based line holding the offset; an offset past the end belongs to the last line.
    qint32 lineOf(qsizetype offset) const {
        return qint32(std::upper_bound(starts_.begin(), starts_.end(), offset) - starts_.begin());
    }
    qsizetype startOf(qint32 line) const { return starts_[size_t(line - 1)]; }
    // The line without its line end.
    template <class View>
    View content(View text, qint32 line) const {
        const qsizetype start = startOf(line);
        return text.sliced(start, ends_[size_t(line - 1)] - start);
    }

private:
    static char16_t unit(QChar c) { return c.unicode(); }
    static char16_t unit(char c) { return uchar(c); }

    template <class View>
    void build(View text) {
        starts_.push_back(0);
        for (qsizetype i = 0; i < text.size(); ++i) {
            const char16_t c = unit(text[i]);
            if (c != u'\r' && c != u'\n') continue;
            ends_.push_back(i);
            if (c == u'\r' && i + 1 < text.size() && unit(text[i + 1]) == u'\n') ++i;
            starts_.push_back(i + 1);
        }
        ends_.push_back(text.size());
        // the line end of the last line starts no line of its own
        if (starts_.size() > 1 && starts_.back() == text.size()) {
            starts_.pop_back();
            ends_.pop_back();
        }
    }

    std::vector<qsizetype> starts_;
    std::vector<qsizetype> ends_;
};

}  // namespace mdb::check
