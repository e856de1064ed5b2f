#include "ui/controls/BindingTable.h"

#include <QLabel>
#include <QLineEdit>

#include "model/Table.h"
#include "ui/controls/ListCore.h"

namespace mdb {

void BindingTable::bind(int field, QLineEdit* box) {
    bindings_.push_back({field, box, [box] { return box->text(); },
                         [box](const QString& text) { box->setText(text); }});
}

void BindingTable::bind(int field, ListCore* list, QObject* control, Writer show) {
    bindings_.push_back({field, control, [list] { return list->text(); }, std::move(show)});
}

void BindingTable::bindShowOnly(int field, QObject* control, Writer show) {
    bindings_.push_back({field, control, nullptr, std::move(show)});
}

void BindingTable::bindShowOnly(int field, QLineEdit* box) {
    bindShowOnly(field, box, [box](const QString& text) { box->setText(text); });
}

void BindingTable::bindShowOnly(int field, QLabel* label) {
    bindShowOnly(field, label, [label](const QString& text) { label->setText(text); });
}

void BindingTable::showRecord(const Table& table, qint32 record) const {
    for (const Binding& binding : bindings_) {
        if (binding.show) binding.show(table.field(record, binding.field));
    }
    noteUntouched(table, record);
}

void BindingTable::noteUntouched(const Table& table, qint32 record) const {
    untouchedTable_ = &table;
    untouchedRecord_ = record;
    untouched_.clear();
    for (const Binding& binding : bindings_) {
        if (binding.read) untouched_.push_back(binding.read());
    }
}

void BindingTable::commitInto(Table& table, qint32 record) const {
    if (record < 1 || record > table.Count()) return;
    for (const Binding& binding : bindings_) {
        if (binding.read) table.setField(record, binding.field, binding.read());
    }
    noteUntouched(table, record);
}

bool BindingTable::differsFrom(const Table& table, qint32 record) const {
    const bool sameRecord = &table == untouchedTable_ && record == untouchedRecord_;
    size_t k = 0;
    for (const Binding& binding : bindings_) {
        if (!binding.read) continue;
        const QString now = binding.read();
        const bool untouched = sameRecord && k < untouched_.size() && now == untouched_[k];
        ++k;
        if (!untouched && now != table.fieldView(record, binding.field)) return true;
    }
    return false;
}

std::vector<const BindingTable::Binding*> BindingTable::editedBindings() const {
    std::vector<const Binding*> edited;
    if (!untouchedTable_) return edited;
    size_t k = 0;
    for (const Binding& binding : bindings_) {
        if (!binding.read) continue;
        const QString now = binding.read();
        const bool untouched = k < untouched_.size() && now == untouched_[k];
        ++k;
        if (!untouched && now != untouchedTable_->fieldView(untouchedRecord_, binding.field)) {
            edited.push_back(&binding);
        }
    }
    return edited;
}

std::vector<int> BindingTable::committedFields() const {
    std::vector<int> fields;
    for (const Binding& binding : bindings_) {
        if (binding.read) fields.push_back(binding.field);
    }
    return fields;
}

}  // namespace mdb
