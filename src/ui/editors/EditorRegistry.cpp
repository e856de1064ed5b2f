#include "ui/editors/EditorRegistry.h"

#include <algorithm>

#include "ui/editors/DependentEditor.h"

namespace mdb {

std::vector<const EditorRegistry::Entry*> EditorRegistry::sortedBy(int Entry::*order) const {
    std::vector<const Entry*> sorted;
    for (const Entry& entry : entries_) sorted.push_back(&entry);
    std::stable_sort(sorted.begin(), sorted.end(),
                     [order](const Entry* a, const Entry* b) { return a->*order < b->*order; });
    return sorted;
}

std::vector<const EditorRegistry::Entry*> EditorRegistry::inCommitOrder() const {
    return sortedBy(&Entry::commitOrder);
}

std::vector<const EditorRegistry::Entry*> EditorRegistry::inUnlockOrder() const {
    return sortedBy(&Entry::unlockOrder);
}

DependentEditor* EditorRegistry::editorOf(TableId table) const {
    for (const Entry& entry : entries_) {
        if (entry.editor->tableId() == table) return entry.editor;
    }
    return nullptr;
}

void EditorRegistry::keyLookup(const QString& key) const {
    for (const Entry& entry : entries_) entry.editor->keyLookup(key);
}

void EditorRegistry::commitInto(MonsterDatabase& db) const {
    for (const Entry* entry : inCommitOrder()) entry->editor->commitInto(db);
}

bool EditorRegistry::hasUncommittedEdits() const {
    return std::any_of(entries_.begin(), entries_.end(),
                       [](const Entry& entry) { return entry.editor->hasUncommittedEdits(); });
}

std::vector<QWidget*> EditorRegistry::unlockControls() const {
    std::vector<QWidget*> controls;
    for (const bool numbers : {false, true}) {
        for (const Entry* entry : inUnlockOrder()) {
            const std::vector<QWidget*> part = entry->editor->controlsOf(numbers);
            controls.insert(controls.end(), part.begin(), part.end());
        }
    }
    return controls;
}

}  // namespace mdb
