#include "ui/models/MirrorModels.h"

namespace mdb {

using namespace Qt::StringLiterals;

MirrorModels::MirrorModels(QObject* parent)
    : QObject(parent),
      statusIds(new ColumnModel(this)),
      statusIdsClear(new ColumnModel(this)),
      statusNames(new ColumnModel(this)),
      statusDisplayNames(new ColumnModel(this)),
      statusDisplayNamesClear(new ColumnModel(this)),
      statusDisplayNamesChoose(new ColumnModel(this)),
      itemIds(new ColumnModel(this)),
      itemNames(new ColumnModel(this)) {
    for (const TableId id : kTableIds) {
        keys_[indexOf(id)] = id == TableId::Status ? statusNames : new ColumnModel(this);
    }
    // the columns searched by whole text on every shown monster or typed ID: a look-up each
    for (ColumnModel* keys : keys_) keys->indexWholeText();
    for (ColumnModel* keys : {statusIds, itemIds}) keys->indexWholeText();
}

void MirrorModels::fillFromDatabase(const MonsterDatabase& db) {
    // The models read the tables' cells as loaded; the models of one column share them.
    const std::pair<ColumnModel*, int> status[] = {
        {statusIds, StatusField::Id},
        {statusIdsClear, StatusField::Id},
        {statusNames, StatusField::Name},
        {statusDisplayNames, StatusField::DisplayName},
        {statusDisplayNamesClear, StatusField::DisplayName},
        {statusDisplayNamesChoose, StatusField::DisplayName}};
    for (const auto& [model, field] : status) model->showTableColumn(db.StatusTable, field);
    for (const TableId id : kTableIds) {
        if (id == TableId::Status) continue;
        keysOf(id)->showTableColumn(db.table(id), Tables::of(id).fieldsOf(FieldRole::Key).front());
    }
}

void MirrorModels::replaceFirstRows() {
    statusDisplayNamesClear->replaceFirstRow(u"選 択 解 除"_s);
    statusDisplayNamesChoose->replaceFirstRow(u"モンスターを選択してね"_s);
    statusIdsClear->replaceFirstRow(u"解 除"_s);
    statusDisplayNames->replaceFirstRow(u"モンスター名"_s);
}

}  // namespace mdb
