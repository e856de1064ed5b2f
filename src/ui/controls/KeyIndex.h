#pragma once

#include <QStringView>
#include <algorithm>
#include <vector>

namespace mdb {

// A look-up from a text, ignoring letter case, to the first row of a column that holds it. It
// stores row numbers only: the texts stay in the column, are read through `viewOf(row)` and are
// case-folded character by character as they are hashed and compared, so that building the
// index allocates nothing per row.
class KeyIndex {
public:
    // Adds rows first..end-1; a row whose text an earlier row already holds is not added, so
    // that a look-up finds the first from the top.
    template <typename ViewOf>
    void add(int first, int end, const ViewOf& viewOf) {
        if ((used_ + size_t(end - first)) * 2 > slots_.size()) grow(used_ + size_t(end - first));
        // A large column's slots lie far beyond the processor's cache, and each row's slot is
        // a miss of its own: the slots of a batch of rows are asked for together, so that
        // their misses overlap, and then filled in row order.
        constexpr int kBatch = 16;
        quint32 hashes[kBatch];
        for (int batch = first; batch < end; batch += kBatch) {
            const int n = std::min(kBatch, end - batch);
            for (int k = 0; k < n; ++k) {
                hashes[k] = foldedHash(viewOf(batch + k));
                __builtin_prefetch(&slots_[hashes[k] & (slots_.size() - 1)], 1);
            }
            for (int k = 0; k < n; ++k) insert(batch + k, hashes[k], viewOf);
        }
    }

    // The first row holding `text` ignoring letter case, -1 when none does.
    template <typename ViewOf>
    int find(QStringView text, const ViewOf& viewOf) const {
        if (slots_.empty()) return -1;
        const quint32 hash = foldedHash(text);
        for (size_t s = hash & (slots_.size() - 1);; s = (s + 1) & (slots_.size() - 1)) {
            const Slot& slot = slots_[s];
            if (slot.row < 0) return -1;
            if (slot.hash == hash && equalFolded(viewOf(slot.row), text)) return slot.row;
        }
    }

    void clear() {
        slots_.clear();
        used_ = 0;
    }

    // Case folding as QString::compare(..., Qt::CaseInsensitive) does it, code point by code
    // point.
    static quint32 foldedHash(QStringView text);
    static bool equalFolded(QStringView a, QStringView b);

private:
    struct Slot {
        quint32 hash = 0;
        int row = -1;
    };

    template <typename ViewOf>
    void insert(int row, quint32 hash, const ViewOf& viewOf) {
        for (size_t s = hash & (slots_.size() - 1);; s = (s + 1) & (slots_.size() - 1)) {
            Slot& slot = slots_[s];
            if (slot.row < 0) {
                slot = {hash, row};
                ++used_;
                return;
            }
            if (slot.hash == hash && equalFolded(viewOf(slot.row), viewOf(row))) return;
        }
    }
    // Room for `keys` keys at most half the slots used, rehashing those held.
    void grow(size_t keys);

    std::vector<Slot> slots_;  // a power of two in size, at most half used
    size_t used_ = 0;
};

}  // namespace mdb
