#include "ui/commands/PendingChangesModel.h"

#include <QMetaObject>
#include <algorithm>
#include <tuple>

#include "model/MonsterDatabase.h"
#include "ui/commands/UnsavedWork.h"

namespace mdb {

using namespace Qt::StringLiterals;

PendingChangesModel::PendingChangesModel(UnsavedWork& work, const MonsterDatabase& db, Words words,
                                         QObject* parent)
    : QAbstractTableModel(parent), work_(work), db_(db), words_(std::move(words)) {
    connect(&work_, &UnsavedWork::changesApplied, this, &PendingChangesModel::noteApplied);
    connect(&work_, &UnsavedWork::pendingChanged, this, &PendingChangesModel::notePending);
    reload();
}

int PendingChangesModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : int(rows_.size());
}

int PendingChangesModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : Columns;
}

QVariant PendingChangesModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole) return {};
    static const QStringList headings{u"ファイル"_s, u"モンスター"_s, u"項目"_s, u"変更前"_s,
                                      u"変更後"_s};
    return headings.value(section);
}

QVariant PendingChangesModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || size_t(index.row()) >= rows_.size()) return {};
    if (role != Qt::DisplayRole && role != Qt::ToolTipRole) return {};
    const Row& row = rows_[size_t(index.row())];
    switch (index.column()) {
        case FileColumn:
            return row.table->name();
        case MonsterColumn:
            return words_.monster ? words_.monster(row.table, row.record)
                                  : row.table->field(row.record, 1);
        case FieldColumn: {
            const QString caption = words_.field ? words_.field(row.table, row.field) : QString();
            return caption.isEmpty() ? row.table->fieldNames().value(row.field - 1) : caption;
        }
        case BeforeColumn:
            return row.onDisk;
        case AfterColumn:
            return row.table->field(row.record, row.field);
    }
    return {};
}

FieldChange PendingChangesModel::change(int row) const {
    if (row < 0 || size_t(row) >= rows_.size()) return {};
    const Row& r = rows_[size_t(row)];
    return {r.table, r.record, r.field, r.onDisk, r.table->field(r.record, r.field)};
}

void PendingChangesModel::noteApplied(const ChangeSet& changes) {
    for (const FieldChange& c : changes) touched_.push_back({c.table, c.record, c.field, c.before});
    changesSeen_ = true;
    schedule();
}

void PendingChangesModel::notePending() {
    // what is pending changed without saying which fields (a save, a restored journal): only
    // the whole list can tell
    if (!changesSeen_) reload_ = true;
    changesSeen_ = false;
    schedule();
}

void PendingChangesModel::schedule() {
    if (scheduled_) return;
    scheduled_ = true;
    // an update of many records, or an undo right after it, is looked at once
    QMetaObject::invokeMethod(this, &PendingChangesModel::flush, Qt::QueuedConnection);
}

void PendingChangesModel::flush() {
    scheduled_ = false;
    if (reload_) {
        reload_ = false;
        touched_.clear();
        reload();
        return;
    }
    std::vector<Touched> touched;
    touched.swap(touched_);
    // the first change of a field in this turn knows what it held before the turn
    std::stable_sort(touched.begin(), touched.end(), [this](const Touched& a, const Touched& b) {
        return std::tuple(rank(a.table), a.record, a.field) <
               std::tuple(rank(b.table), b.record, b.field);
    });
    const auto last =
        std::unique(touched.begin(), touched.end(), [](const Touched& a, const Touched& b) {
            return a.table == b.table && a.record == b.record && a.field == b.field;
        });
    for (auto it = touched.begin(); it != last; ++it) touch(*it);
}

void PendingChangesModel::reload() {
    beginResetModel();
    rows_.clear();
    const ChangeSet pending = work_.pendingChanges();
    rows_.reserve(pending.size());
    for (const FieldChange& c : pending) rows_.push_back({c.table, c.record, c.field, c.before});
    endResetModel();
}

int PendingChangesModel::rank(const Table* table) const {
    const auto order = db_.saveOrder();
    return int(std::find(order.begin(), order.end(), table) - order.begin());
}

bool PendingChangesModel::before(const Row& row, const Table* table, qint32 record,
                                 int field) const {
    return std::tuple(rank(row.table), row.record, row.field) <
           std::tuple(rank(table), record, field);
}

void PendingChangesModel::touch(const Touched& t) {
    const auto at =
        std::lower_bound(rows_.begin(), rows_.end(), t, [this](const Row& row, const Touched& key) {
            return before(row, key.table, key.record, key.field);
        });
    const int r = int(at - rows_.begin());
    const QStringView now = t.table->fieldView(t.record, t.field);
    const bool listed =
        at != rows_.end() && at->table == t.table && at->record == t.record && at->field == t.field;
    if (listed) {
        if (now == at->onDisk) {
            beginRemoveRows({}, r, r);
            rows_.erase(at);
            endRemoveRows();
        } else {
            // only the text a save would write changed: a view repaints that cell, not the
            // whole list (a change over several cells repaints every row it shows)
            emit dataChanged(index(r, AfterColumn), index(r, AfterColumn));
        }
    } else if (now != t.firstBefore) {
        beginInsertRows({}, r, r);
        rows_.insert(at, {t.table, t.record, t.field, t.firstBefore});
        endInsertRows();
    }
}

}  // namespace mdb
