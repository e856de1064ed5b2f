#pragma once

#include <QString>
#include <QStringView>
#include <algorithm>
#include <memory>
#include <utility>
#include <vector>

#include "model/FieldEnds.h"
#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace mdb {

// Texts held as views into the decoded text of a whole file instead of one allocation per
// field: loading a database then costs little more than decoding it.
// A cell is four bytes: where its text begins in the source text. Its end is found again when
// the text is asked for, as the file's own rules find it: a field that follows a double quote
// runs to the next double quote, any other to the next comma or line end (or the end of the
// source). Every view is checked against that rule when it is pushed, and one the rule would not
// give back exactly is stored as a copy, so a cell never shows another text than it was given.
// A text set later gets a copy of its own; the cell then says which copy, and the copy
// remembers the cell as it was loaded, so that the mirror lists can go on showing the loaded
// text without a list of their own. Views stay valid because a kept text is never changed;
// moving a QString keeps its data where it is.
class TextCells {
public:
    // Keeps `buffer` alive for as long as the cells. The first text kept is the source: views
    // into it pushed from then on are stored as cells; views into anything else are copied.
    void keep(QString buffer) {
        if (buffer.isEmpty() || buffer.constData() == sourceText_.constData()) return;
        if (sourceText_.isNull()) {
            sourceText_ = std::move(buffer);
            begin_ = reinterpret_cast<const char16_t*>(sourceText_.utf16());
            end_ = begin_ + sourceText_.size();
        } else {
            others_.push_back(std::move(buffer));
        }
    }
    const QString& source() const { return sourceText_; }

    void push(QStringView view) { cells_.push_back(cellFor(view, cells_.size())); }
    // The same for `n` views at once.
    void push(const QStringView* views, size_t n) {
        const size_t first = cells_.size();
        if (cells_.capacity() - first < n) {
            cells_.reserve(std::max(first + n, cells_.capacity() * 2));
        }
        if (n == 0) return;
        cells_.resize(first + n);
        Cell* out = cells_.data() + first;
        // A record's fields mostly lie one after another, a comma between each two: such a run
        // is checked against the rule by one count over the whole of it instead of a search
        // from every field's start, and checked alone only when the count finds it wrong.
        // in locals: to the compiler, a store through `out` could change the members
        const quintptr begin = quintptr(begin_);
        const quintptr sourceBytes = quintptr(end_) - begin;
        size_t run = 0;  // the first view of the current run
        const char16_t* runEnd = views[0].utf16() + views[0].size();
        out[0] = Cell((quintptr(views[0].utf16()) - begin) / 2);
        for (size_t k = 1; k < n; ++k) {
            const char16_t* p = views[k].utf16();
            // the view begins right after a comma of the source that ends the one before
            if (!(p == runEnd + 1 && quintptr(runEnd) - begin < sourceBytes && *runEnd == u',')) {
                closeRun(views, run, k, out, first);
                run = k;
            }
            out[k] = Cell((quintptr(p) - begin) / 2);
            runEnd = p + views[k].size();
        }
        closeRun(views, run, n, out, first);
    }
    // Stores a copy of `text`; it counts as written.
    void pushCopy(const QString& text) { cells_.push_back(copyCell(text, cells_.size())); }
    // Gives the cell a text of its own. Views of this cell's earlier text may dangle after.
    void set(size_t index, const QString& text) {
        const Cell old = cells_[index];
        if (isCopied(old)) {
            Copy& copy = copies_[old & ~Copied];
            // a copy that holds no loaded text can take the new one in its place
            if (copy.loaded != old) {
                copy.text = text;
                return;
            }
        }
        const Cell loaded = isCopied(old) ? copies_[old & ~Copied].loaded : old;
        cells_[index] = Cell(copies_.size()) | Copied;
        copies_.push_back({text, loaded, index});
    }

    // Points the cell at the text it was pushed with again, as if never set.
    void revert(size_t index) {
        const Cell c = cells_[index];
        if (isCopied(c)) cells_[index] = copies_[c & ~Copied].loaded;
    }

    QStringView view(size_t index) const { return viewOf(cells_[index]); }
    // The text the cell was pushed with, whatever was set since.
    QStringView loadedView(size_t index) const {
        const Cell c = cells_[index];
        return viewOf(isCopied(c) ? copies_[c & ~Copied].loaded : c);
    }
    // The cell holds a copy (set since, or pushed as one), not a view of the source.
    bool isCopy(size_t index) const { return isCopied(cells_[index]); }
    QString text(size_t index) const { return view(index).toString(); }

    // The cells set since they were pushed as views of the source, in cell order: each with
    // where its loaded text begins in the source. False when a cell set since was not loaded
    // from the source (it was pushed as a copy), so that it cannot be found there.
    struct SourceCell {
        size_t index;
        qsizetype offset;
    };
    bool setSourceCells(std::vector<SourceCell>& out) const {
        out.clear();
        for (size_t k = 0; k < copies_.size(); ++k) {
            const Copy& copy = copies_[k];
            if (cells_[copy.cell] != (Cell(k) | Copied)) continue;  // reverted since
            if (isCopied(copy.loaded) || copy.loaded == Empty) return false;
            out.push_back({copy.cell, qsizetype(copy.loaded)});
        }
        std::sort(out.begin(), out.end(),
                  [](const SourceCell& a, const SourceCell& b) { return a.index < b.index; });
        return true;
    }

    size_t size() const { return cells_.size(); }
    void reserve(size_t n) { cells_.reserve(n); }
    void resize(size_t n) { cells_.resize(n, Empty); }
    void clear() {
        cells_.clear();
        copies_.clear();
        others_.clear();
        sourceText_ = QString();
        begin_ = end_ = nullptr;
    }

private:
    // A cell with this bit counts in copies_; otherwise it is an offset into the source.
    using Cell = quint32;
    static constexpr Cell Copied = 0x80000000u;
    static constexpr Cell Empty = 0x7FFFFFFFu;  // an empty text, wherever it was
    static bool isCopied(Cell c) { return c & Copied; }

    // Leaves the cells a vector grows by unset instead of zeroing them first.
    template <typename T>
    struct UnsetAllocator : std::allocator<T> {
        template <typename U>
        struct rebind {
            using other = UnsetAllocator<U>;
        };
        template <typename U, typename... Args>
        void construct(U* p, Args&&... args) {
            if constexpr (sizeof...(Args) == 0) {
                ::new (static_cast<void*>(p)) U;
            } else {
                ::new (static_cast<void*>(p)) U(std::forward<Args>(args)...);
            }
        }
    };
    struct Copy {
        QString text;
        Cell loaded;  // the cell as it was loaded
        size_t cell;  // the one cell it belongs to (unless that cell was reverted since)
    };

    // Whether the text at `p` follows a double quote, and so runs to the next one.
    bool quotedAt(const char16_t* p) const { return p > begin_ && p[-1] == u'"'; }
    // Where the text beginning at `p` in the source ends by the rule.
    const char16_t* endOf(const char16_t* p) const {
        const bool quoted = quotedAt(p);
#if defined(__SSE2__)
        // eight characters at a time; the source holds them, whatever the field's length
        const __m128i quote = _mm_set1_epi16(u'"'), comma = _mm_set1_epi16(u','),
                      cr = _mm_set1_epi16(u'\r'), lf = _mm_set1_epi16(u'\n');
        for (; end_ - p >= 8; p += 8) {
            const __m128i c = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
            const __m128i ends =
                quoted
                    ? _mm_cmpeq_epi16(c, quote)
                    : _mm_or_si128(_mm_or_si128(_mm_cmpeq_epi16(c, comma), _mm_cmpeq_epi16(c, cr)),
                                   _mm_cmpeq_epi16(c, lf));
            if (const int bits = _mm_movemask_epi8(ends))
                return p + __builtin_ctz(unsigned(bits)) / 2;
        }
#endif
        if (quoted) {
            while (p < end_ && *p != u'"') ++p;
        } else {
            while (p < end_ && !endsField(*p)) ++p;
        }
        return p;
    }

    // Checks the views `from` to `to` of a run, stored as offsets at out[from..to): when they
    // do not follow the rule, each is stored as cellFor stores it alone.
    // Out of line: the loop over a record's views keeps its few values in registers.
    Q_NEVER_INLINE void closeRun(const QStringView* views, size_t from, size_t to, Cell* out,
                                 size_t first) {
        if (Q_LIKELY(runFollowsRule(views[from], views[to - 1], to - 1 - from))) return;
        for (size_t k = from; k < to; ++k) out[k] = cellFor(views[k], first + k);
    }
    // Whether each view of a run from `first` to `last`, each beginning one past the end of the
    // one before, a comma between them, is the text the rule finds from its start. The views
    // other than the first follow a comma, so only the first can follow a double quote; each ends
    // where the next one's comma is, the last where the source ends or a comma or line end follows.
    // What is left to make sure of is that no view holds a comma or line end: the whole run then
    // holds exactly the `commas` between its views.
    bool runFollowsRule(QStringView first, QStringView last, size_t commas) const {
        const char16_t* from = first.utf16();
        const char16_t* to = last.utf16() + last.size();
        if (from == nullptr || from < begin_ || from > end_ || quotedAt(from) || to > end_ ||
            to - begin_ >= qptrdiff(Empty)) {
            return false;
        }
        if (to < end_ && !endsField(*to)) return false;
        return size_t(countFieldEnds(from, to)) == commas;
    }
    Cell cellFor(QStringView view, size_t index) {
        const char16_t* p = view.utf16();
        const qsizetype n = view.size();
        // An empty view in the source is kept as where it lies, so that a writer can find the
        // field again; any other empty view is just empty.
        if (n == 0 && (p == nullptr || p < begin_ || p > end_)) return Empty;
        // the view must be the text the rule finds from its start: no more, no less
        if (Q_UNLIKELY(p < begin_ || n > end_ - p || p - begin_ >= qptrdiff(Empty) ||
                       endOf(p) != p + n)) {
            return n == 0 ? Empty : copyCell(view.toString(), index);
        }
        return Cell(p - begin_);
    }
    // A copy whose loaded text is itself.
    Cell copyCell(const QString& text, size_t index) {
        const Cell self = Cell(copies_.size()) | Copied;
        copies_.push_back({text, self, index});
        return self;
    }

    QStringView viewOf(Cell c) const {
        if (c == Empty) return {};
        if (isCopied(c)) return copies_[c & ~Copied].text;
        const char16_t* p = begin_ + c;
        const char16_t* e = endOf(p);
        return e == p ? QStringView() : QStringView(p, e - p);
    }

    QString sourceText_;
    const char16_t* begin_ = nullptr;
    const char16_t* end_ = nullptr;
    std::vector<Cell, UnsetAllocator<Cell>> cells_;
    std::vector<Copy> copies_;
    std::vector<QString> others_;
};

}  // namespace mdb
