#pragma once

#include <QString>
#include <QStringView>
#include <algorithm>
#include <limits>
#include <memory>
#include <utility>
#include <vector>

namespace mdb {

// Texts held as views into a few large buffers (the decoded text of a whole file) instead of
// one allocation per field: loading a database then costs little more than decoding it.
// A cell is eight bytes: where its text begins, relative to the first text pushed, and how
// long it is. A text set later gets a copy of its own; the cell then says which copy, and
// the copy remembers the text the cell was loaded with, so that the mirror lists can go on
// showing the loaded text without a list of their own. Views stay valid because a buffer,
// once kept, is never changed; moving a QString keeps its data where it is.
class TextCells {
public:
    // Keeps `buffer` alive for as long as the cells; views into it may then be stored.
    void keep(QString buffer) {
        if (!buffer.isEmpty()) buffers_.push_back(std::move(buffer));
    }
    // Stores a view into a kept buffer (or into static text). A view too far from the first
    // one for a cell to say where it lies is stored as a copy.
    void push(QStringView view) { cells_.push_back(cellFor(view)); }
    // The same for `n` views at once.
    void push(const QStringView* views, size_t n) {
        const size_t first = cells_.size();
        if (cells_.capacity() - first < n) {
            cells_.reserve(std::max(first + n, cells_.capacity() * 2));
        }
        cells_.resize(first + n);
        Cell* out = cells_.data() + first;
        if (Q_UNLIKELY(!base_) && n > 0) base_ = views[0].utf16();
        // Views of one file's text all fit: test them together (an offset and a size fit when
        // neither has a bit from 31 up) and go through cellFor only when one does not.
        quint64 bits = base_ ? 0 : ~quint64(0);
        for (size_t k = 0; k < n; ++k) {
            const qptrdiff offset = views[k].utf16() - base_;
            const qsizetype size = views[k].size();
            bits |= quint64(offset) | quint64(size);
            out[k] = {qint32(offset), quint32(size)};
        }
        const bool fit = bits >> 31 == 0;
        if (Q_UNLIKELY(!fit)) {
            for (size_t k = 0; k < n; ++k) out[k] = cellFor(views[k]);
        }
    }
    // Stores a copy of `text`; it counts as written.
    void pushCopy(const QString& text) { cells_.push_back(copyCell(text)); }
    // Gives the cell a text of its own. Views of this cell's earlier text may dangle after.
    void set(size_t index, const QString& text) {
        const Cell old = cells_[index];
        if (old.size == Copied) {
            Copy& copy = copies_[size_t(old.offset)];
            // a copy that holds no loaded text can take the new one in its place
            if (copy.loaded.size != Copied || copy.loaded.offset != old.offset) {
                copy.text = text;
                return;
            }
        }
        const Cell loaded = old.size == Copied ? copies_[size_t(old.offset)].loaded : old;
        cells_[index] = {qint32(copies_.size()), Copied};
        copies_.push_back({text, loaded});
    }

    // Points the cell at the text it was pushed with again, as if never set.
    void revert(size_t index) {
        const Cell c = cells_[index];
        if (c.size == Copied) cells_[index] = copies_[size_t(c.offset)].loaded;
    }

    QStringView view(size_t index) const { return viewOf(cells_[index]); }
    // The text the cell was pushed with, whatever was set since.
    QStringView loadedView(size_t index) const {
        const Cell c = cells_[index];
        return viewOf(c.size == Copied ? copies_[size_t(c.offset)].loaded : c);
    }
    // The cell holds a copy (set since, or pushed as one), not a view of a kept buffer.
    bool isCopy(size_t index) const { return cells_[index].size == Copied; }
    QString text(size_t index) const { return view(index).toString(); }

    size_t size() const { return cells_.size(); }
    void reserve(size_t n) { cells_.reserve(n); }
    void resize(size_t n) { cells_.resize(n, Cell{}); }
    void clear() {
        cells_.clear();
        copies_.clear();
        buffers_.clear();
        base_ = nullptr;
    }

private:
    // A size of Copied marks a cell whose offset counts in copies_.
    static constexpr quint32 Copied = 0x80000000u;
    struct Cell {  // no initial values: push() sets every cell it adds (Cell{} is empty)
        qint32 offset;
        quint32 size;
    };
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

    Cell cellFor(QStringView view) {
        if (Q_UNLIKELY(!base_)) base_ = view.utf16();
        const qptrdiff offset = view.utf16() - base_;
        // both fit when the offset fits in 31 bits and the size below Copied
        if (Q_LIKELY(quint64(offset) <= quint64(std::numeric_limits<qint32>::max()) &&
                     quint64(view.size()) < Copied)) {
            return {qint32(offset), quint32(view.size())};
        }
        return view.isEmpty() ? Cell{} : copyCell(view.toString());
    }
    // A copy whose loaded text is itself.
    Cell copyCell(const QString& text) {
        const Cell self{qint32(copies_.size()), Copied};
        copies_.push_back({text, self});
        return self;
    }

    QStringView viewOf(Cell c) const {
        if (c.size == Copied) return copies_[size_t(c.offset)].text;
        return c.size == 0 ? QStringView() : QStringView(base_ + c.offset, qsizetype(c.size));
    }

    const char16_t* base_ = nullptr;
    std::vector<Cell, UnsetAllocator<Cell>> cells_;
    std::vector<Copy> copies_;
    std::vector<QString> buffers_;
};

}  // namespace mdb
