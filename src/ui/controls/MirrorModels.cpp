#include "ui/controls/MirrorModels.h"

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
      dropKeys(new ColumnModel(this)),
      mvpKeys(new ColumnModel(this)),
      morphKeys(new ColumnModel(this)),
      emoteKeys(new ColumnModel(this)),
      summonKeys(new ColumnModel(this)),
      slaveKeys(new ColumnModel(this)),
      itemIds(new ColumnModel(this)),
      itemNames(new ColumnModel(this)) {
    // the columns searched by whole text on every shown monster or typed ID: a look-up each
    for (ColumnModel* keys : {statusIds, statusNames, dropKeys, mvpKeys, morphKeys, emoteKeys,
                              summonKeys, slaveKeys, itemIds}) {
        keys->indexWholeText();
    }
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
    dropKeys->showTableColumn(db.DropTable, 1);
    mvpKeys->showTableColumn(db.MvpTable, 1);
    morphKeys->showTableColumn(db.MorphTable, 1);
    emoteKeys->showTableColumn(db.EmoteTable, 1);
    summonKeys->showTableColumn(db.SummonTable, 1);
    slaveKeys->showTableColumn(db.SlaveTable, 1);
}

void MirrorModels::replaceFirstRows() {
    statusDisplayNamesClear->replaceFirstRow(u"選 択 解 除"_s);
    statusDisplayNamesChoose->replaceFirstRow(u"モンスターを選択してね"_s);
    statusIdsClear->replaceFirstRow(u"解 除"_s);
    statusDisplayNames->replaceFirstRow(u"モンスター名"_s);
}

}  // namespace mdb
