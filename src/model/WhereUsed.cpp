#include "model/WhereUsed.h"

#include "model/MonsterDatabase.h"
#include "model/TableQuery.h"

namespace mdb {

namespace {

struct ItemSlot {
    int item;
    int rate;
};

bool sameItem(QStringView cell, QStringView wanted, bool wantedIsNumber, double wantedValue) {
    double v = 0;
    if (wantedIsNumber && cellNumber(cell, v)) return v == wantedValue;
    return cell.trimmed() == wanted;
}

void scan(const Table& table, const std::vector<ItemSlot>& itemSlots, QStringView wanted,
          bool wantedIsNumber, double wantedValue, std::vector<SlotUse>& out) {
    for (qint32 r = 1; r <= table.Count(); ++r) {
        for (const ItemSlot& slot : itemSlots) {
            if (sameItem(table.fieldView(r, slot.item), wanted, wantedIsNumber, wantedValue)) {
                out.push_back({&table, r, slot.item, slot.rate});
            }
        }
    }
}

}  // namespace

std::vector<SlotUse> itemUses(const MonsterDatabase& db, QStringView itemId) {
    const QStringView wanted = itemId.trimmed();
    double value = 0;
    const bool isNumber = cellNumber(wanted, value);
    std::vector<SlotUse> uses;
    if (wanted.isEmpty() || (isNumber && value == 0)) return uses;
    std::vector<ItemSlot> drops;
    for (int i = 0; i < DropField::Slots; ++i)
        drops.push_back({DropField::Item(i), DropField::Rate(i)});
    scan(db.DropTable, drops, wanted, isNumber, value, uses);
    std::vector<ItemSlot> mvp{{MvpField::MvpItem1, 0}, {MvpField::MvpItem2, 0}};
    for (int i = 0; i < MvpField::Specials; ++i) {
        mvp.push_back({MvpField::SpecialItem(i), MvpField::SpecialRate(i)});
    }
    scan(db.MvpTable, mvp, wanted, isNumber, value, uses);
    return uses;
}

std::vector<SlotUse> monsterUses(const MonsterDatabase& db, QStringView key) {
    const QStringView wanted = key.trimmed();
    std::vector<SlotUse> uses;
    if (wanted.isEmpty()) return uses;
    for (const Table* table : {&db.MorphTable, &db.SummonTable, &db.SlaveTable}) {
        for (qint32 r = 1; r <= table->Count(); ++r) {
            for (int i = 0; i < RelationField::Slots; ++i) {
                const int field = RelationField::Related(i);
                if (table->fieldView(r, field).compare(wanted, Qt::CaseInsensitive) == 0) {
                    uses.push_back({table, r, field, 0});
                }
            }
        }
    }
    return uses;
}

}  // namespace mdb
