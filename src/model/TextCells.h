#pragma once

#include <QString>
#include <QStringView>
#include <algorithm>
#include <memory>
#include <utility>
#include <vector>

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

    void push(QStringView view) { cells_.push_back(cellFor(view)); }
    // The same for `n` views at once.
    void push(const QStringView* views, size_t n) {
        const size_t first = cells_.size();
        if (cells_.capacity() - first < n) {
            cells_.reserve(std::max(first + n, cells_.capacity() * 2));
        }
        cells_.resize(first + n);
        Cell* out = cells_.data() + first;
        for (size_t k = 0; k < n; ++k) out[k] = cellFor(views[k]);
    }
    // Stores a copy of `text`; it counts as written.
    void pushCopy(const QString& text) { cells_.push_back(copyCell(text)); }
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
        copies_.push_back({text, loaded});
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
    };

    static bool endsBare(char16_t c) { return c == u',' || c == u'\r' || c == u'\n'; }
    // Whether the text at `p` follows a double quote, and so runs to the next one.
    bool quotedAt(const char16_t* p) const { return p > begin_ && p[-1] == u'"'; }

    Cell cellFor(QStringView view) {
        const char16_t* p = view.utf16();
        const qsizetype n = view.size();
        if (n == 0) return Empty;
        if (Q_UNLIKELY(p < begin_ || n > end_ - p || p - begin_ >= qptrdiff(Empty))) {
            return copyCell(view.toString());
        }
        // The view must end where the rule ends it, and nothing inside may end it earlier.
        // Every character that can end a field lies at or below the comma.
        const bool quoted = quotedAt(p);
        const char16_t* e = p + n;
        if (e < end_ && (quoted ? *e != u'"' : !endsBare(*e))) return copyCell(view.toString());
        for (const char16_t* q = p; q < e; ++q) {
            if (Q_UNLIKELY(*q <= u',') && (quoted ? *q == u'"' : endsBare(*q))) {
                return copyCell(view.toString());
            }
        }
        return Cell(p - begin_);
    }
    // A copy whose loaded text is itself.
    Cell copyCell(const QString& text) {
        const Cell self = Cell(copies_.size()) | Copied;
        copies_.push_back({text, self});
        return self;
    }

    QStringView viewOf(Cell c) const {
        if (c == Empty) return {};
        if (isCopied(c)) return copies_[c & ~Copied].text;
        const char16_t* p = begin_ + c;
        const char16_t* e = p;
        if (quotedAt(p)) {
            while (e < end_ && *e != u'"') ++e;
        } else {
            while (e < end_ && !endsBare(*e)) ++e;
        }
        return QStringView(p, e - p);
    }

    QString sourceText_;
    const char16_t* begin_ = nullptr;
    const char16_t* end_ = nullptr;
    std::vector<Cell, UnsetAllocator<Cell>> cells_;
    std::vector<Copy> copies_;
    std::vector<QString> others_;
};

}  // namespace mdb
