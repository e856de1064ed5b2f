#pragma once

#include <array>
#include <cstddef>

namespace mdb {

// The seven monster tables, by name. Every list of tables in the program is a walk over
// `kTableIds` (or `kSaveOrder`), and every per-table fact lives in the table's descriptor, so
// an eighth table is one more name here, one more descriptor and one editor.
enum class TableId { Status, Drop, Mvp, Morph, Emote, Summon, Slave };

// In the order the start reads them, which is also their order in checker reports.
inline constexpr std::array<TableId, 7> kTableIds{TableId::Status, TableId::Drop,  TableId::Mvp,
                                                  TableId::Morph,  TableId::Emote, TableId::Summon,
                                                  TableId::Slave};
// In the order the save writes them: a failed save leaves the later files untouched, so the
// order is part of what the user sees after a failure.
inline constexpr std::array<TableId, 7> kSaveOrder{TableId::Status, TableId::Drop,  TableId::Mvp,
                                                   TableId::Emote,  TableId::Morph, TableId::Summon,
                                                   TableId::Slave};
inline constexpr std::size_t kTableCount = kTableIds.size();

constexpr std::size_t indexOf(TableId id) {
    return static_cast<std::size_t>(id);
}

// A name added to the enum but not to the lists above fails here.
static_assert(indexOf(TableId::Slave) + 1 == kTableCount);
static_assert(kSaveOrder.size() == kTableCount);

}  // namespace mdb
