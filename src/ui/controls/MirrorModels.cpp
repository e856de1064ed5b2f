#include "ui/controls/MirrorModels.h"

namespace mdb {

using namespace Qt::StringLiterals;

namespace {

// Rows of a mirror list: one per record 1..Count, so row p is record p + 1.
QStringList recordRows(const Table& table, int field) {
    QStringList rows = table.column(field);
    rows.removeFirst();  // position 0 holds no record
    return rows;
}

}  // namespace

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
    // one copy of each column; the models of the same column share it
    const QStringList ids = recordRows(db.StatusTable, StatusField::Id);
    const QStringList names = recordRows(db.StatusTable, StatusField::Name);
    const QStringList displayNames = recordRows(db.StatusTable, StatusField::DisplayName);
    statusIds->appendRows(ids);
    statusIdsClear->appendRows(ids);
    statusNames->appendRows(names);
    statusDisplayNames->appendRows(displayNames);
    statusDisplayNamesClear->appendRows(displayNames);
    statusDisplayNamesChoose->appendRows(displayNames);

    dropKeys->appendRows(recordRows(db.DropTable, 1));
    mvpKeys->appendRows(recordRows(db.MvpTable, 1));
    morphKeys->appendRows(recordRows(db.MorphTable, 1));
    emoteKeys->appendRows(recordRows(db.EmoteTable, 1));
    summonKeys->appendRows(recordRows(db.SummonTable, 1));
    slaveKeys->appendRows(recordRows(db.SlaveTable, 1));
}

void MirrorModels::replaceFirstRows() {
    statusDisplayNamesClear->replaceFirstRow(u"選 択 解 除"_s);
    statusDisplayNamesChoose->replaceFirstRow(u"モンスターを選択してね"_s);
    statusIdsClear->replaceFirstRow(u"解 除"_s);
    statusDisplayNames->replaceFirstRow(u"モンスター名"_s);
}

}  // namespace mdb
