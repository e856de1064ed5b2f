#pragma once

#include <QWidget>
#include <vector>

#include "model/WhereUsed.h"

class QLabel;
class QLineEdit;
class QTableWidget;

namespace mdb {

class ItemDatabase;
class MonsterDatabase;
class Table;

// Where an item drops (drop and MVP slots) and where a monster is summoned, morphed into or
// taken as a slave: every slot, with its monster and its rate. Enter or a double click on a row
// asks for that monster to be shown with the slot focused.
class WhereUsedPage : public QWidget {
    Q_OBJECT
public:
    WhereUsedPage(const MonsterDatabase& db, const ItemDatabase& items, QWidget* parent = nullptr);

    // Finds the item the item box names (an ID, or a name of the loaded item tables).
    void findItem();
    // Finds the monster key the monster box holds.
    void findMonster();
    // The use shown in `row` of the results.
    const SlotUse& useAt(int row) const { return uses_[size_t(row)]; }
    // The status record of the monster a use's record belongs to, 0 for none.
    qint32 monsterOfUse(const SlotUse& use) const;

signals:
    void slotChosen(qint32 statusRecord, const Table* table, int field);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void show(const QString& summary, std::vector<SlotUse> uses);
    QString itemName(QStringView id) const;
    void choose(int row);

    const MonsterDatabase& db_;
    const ItemDatabase& items_;
    QLineEdit* itemBox_;
    QLineEdit* monsterBox_;
    QLabel* summary_;
    QTableWidget* results_;
    std::vector<SlotUse> uses_;
};

}  // namespace mdb
