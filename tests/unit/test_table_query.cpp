// Sorting, filtering and where-used against plain scans written here, over the real data when
// it is at hand and over the bundled sample otherwise.
#include <gtest/gtest.h>

#include <QDir>
#include <algorithm>
#include <map>

#include "model/MonsterDatabase.h"
#include "model/TableQuery.h"
#include "model/WhereUsed.h"
#include "storage/DatabaseFiles.h"

using namespace mdb;
using namespace Qt::StringLiterals;

namespace {

QDir dataDir() {
    const QDir real(u"/work/shared/realdata"_s);
    if (real.exists(u"mob_stat_db.txt"_s)) return real;
    return QDir(QString::fromUtf8(MDB_SAMPLE_DIR));
}

// Independent reading of a number: Qt's own conversion of the trimmed text.
bool plainNumber(const QString& text, double& value) {
    bool ok = false;
    value = text.trimmed().toDouble(&ok);
    return ok && !text.trimmed().isEmpty();
}

QueryColumns fieldColumns(const Table& table, const std::vector<CellKind>& kinds) {
    QueryColumns columns;
    for (int f = 1; f <= table.fieldCount(); ++f) {
        columns.cells.push_back([&table, f](qint32 r) { return table.fieldView(r, f); });
        columns.kinds.push_back(kinds[size_t(f - 1)]);
    }
    return columns;
}

std::vector<qint32> allRecords(const Table& table) {
    std::vector<qint32> all;
    for (qint32 r = 1; r <= table.Count(); ++r) all.push_back(r);
    return all;
}

// Reference order: a full sort on (class, value or text, record), so equal cells fall in record
// order by construction, not by a stable algorithm.
std::vector<qint32> referenceSort(const Table& table, int field, bool numeric, bool descending) {
    struct Row {
        int cls;
        double value;
        QString text;
        qint32 record;
    };
    std::vector<Row> rows;
    for (qint32 r = 1; r <= table.Count(); ++r) {
        const QString text = table.field(r, field);
        double v = 0;
        const bool isNumber = numeric && plainNumber(text, v);
        rows.push_back({isNumber ? 0 : 1, isNumber ? v : 0, text.toCaseFolded(), r});
    }
    std::sort(rows.begin(), rows.end(), [descending](const Row& a, const Row& b) {
        auto key = [](const Row& x) { return std::tie(x.cls, x.value, x.text); };
        if (key(a) != key(b)) return descending ? key(b) < key(a) : key(a) < key(b);
        return a.record < b.record;
    });
    std::vector<qint32> out;
    for (const Row& row : rows) out.push_back(row.record);
    return out;
}

class TableQueryOnData : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_FALSE(loadMonsterDatabase(dataDir(), db)); }
    MonsterDatabase db;
};

}  // namespace

TEST_F(TableQueryOnData, SortsNumbersAsNumbersTextAsTextStablyBothWays) {
    const Table& stat = db.StatusTable;
    std::vector<CellKind> kinds(size_t(stat.fieldCount()), CellKind::Number);
    kinds[StatusField::Name - 1] = kinds[StatusField::DisplayName - 1] = CellKind::Text;
    const QueryColumns columns = fieldColumns(stat, kinds);
    // HP and mode (values above 16 bits), the level (many ties), names as text
    bool above16 = false;
    for (qint32 r = 1; r <= stat.Count(); ++r)
        above16 |= stat.field(r, StatusField::Mode).toLongLong() > 65535;
    EXPECT_TRUE(above16);
    for (int field : {int(StatusField::Hp), int(StatusField::Mode), int(StatusField::Level),
                      int(StatusField::Name), int(StatusField::DisplayName)}) {
        for (bool descending : {false, true}) {
            std::vector<qint32> records = allRecords(stat);
            sortRecords(columns, records, field - 1, descending);
            EXPECT_EQ(records,
                      referenceSort(stat, field, kinds[size_t(field - 1)] == CellKind::Number,
                                    descending))
                << field << (descending ? " down" : " up");
        }
    }
    // a number column with blanks: the morph slots hold empty fields; the count is numeric
    const Table& morph = db.MorphTable;
    const QueryColumns morphColumns =
        fieldColumns(morph, std::vector<CellKind>(7, CellKind::Number));
    for (int field : {3, 7}) {
        std::vector<qint32> records = allRecords(morph);
        sortRecords(morphColumns, records, field - 1, false);
        EXPECT_EQ(records, referenceSort(morph, field, true, false)) << field;
    }
    // the drop rates of 16-bit range sort by value, not by text ("7000" after "10000")
    const Table& drop = db.DropTable;
    const QueryColumns dropColumns =
        fieldColumns(drop, std::vector<CellKind>(size_t(drop.fieldCount()), CellKind::Number));
    std::vector<qint32> byRate = allRecords(drop);
    sortRecords(dropColumns, byRate, DropField::Rate(0) - 1, true);
    EXPECT_EQ(byRate, referenceSort(drop, DropField::Rate(0), true, true));
    double previous = 1e300;
    for (qint32 r : byRate) {
        const double v = drop.field(r, DropField::Rate(0)).toDouble();
        ASSERT_LE(v, previous);
        previous = v;
    }
}

TEST_F(TableQueryOnData, FiltersByTextAndNumberConditionsAsAPlainScanDoes) {
    const Table& stat = db.StatusTable;
    std::vector<CellKind> kinds(size_t(stat.fieldCount()), CellKind::Number);
    kinds[StatusField::Name - 1] = kinds[StatusField::DisplayName - 1] = CellKind::Text;
    const QueryColumns columns = fieldColumns(stat, kinds);
    const std::vector<qint32> all = allRecords(stat);

    // level 70 to 80 with fewer than 10000 HP, and a text in the key or the name
    RowFilter filter;
    filter.conditions = {{StatusField::Level - 1, NumberCondition::Op::Between, 70, 80},
                         {StatusField::Hp - 1, NumberCondition::Op::Less, 10000, 0}};
    for (const QString& text : {QString(), u"ORC"_s, u"ぽ"_s}) {
        filter.text = text;
        filter.textColumns = {StatusField::Name - 1, StatusField::DisplayName - 1};
        std::vector<qint32> expected;
        for (qint32 r = 1; r <= stat.Count(); ++r) {
            const double level = stat.field(r, StatusField::Level).toDouble();
            const double hp = stat.field(r, StatusField::Hp).toDouble();
            const bool textHit =
                text.isEmpty() ||
                stat.field(r, StatusField::Name).toLower().contains(text.toLower()) ||
                stat.field(r, StatusField::DisplayName).toLower().contains(text.toLower());
            if (level >= 70 && level <= 80 && hp < 10000 && textHit) expected.push_back(r);
        }
        EXPECT_EQ(filterRecords(columns, all, filter), expected) << text.toStdString();
        if (text.isEmpty()) {
            EXPECT_FALSE(expected.empty());
        }
    }

    // every operator over the mode (above 16 bits), a blank never meets a condition
    const Table& morph = db.MorphTable;
    const QueryColumns morphColumns =
        fieldColumns(morph, std::vector<CellKind>(7, CellKind::Number));
    RowFilter notEqual;
    notEqual.conditions = {{2, NumberCondition::Op::NotEqual, 12345, 0}};
    std::vector<qint32> notBlank;
    bool blanks = false;
    for (qint32 r = 1; r <= morph.Count(); ++r) {
        double v = 0;
        blanks |= morph.field(r, 3).isEmpty();
        if (plainNumber(morph.field(r, 3), v) && v != 12345) notBlank.push_back(r);
    }
    EXPECT_TRUE(blanks);
    // the blank third slots are not "≠ 12345"
    EXPECT_EQ(filterRecords(morphColumns, allRecords(morph), notEqual), notBlank);
    using Op = NumberCondition::Op;
    const double pivot = 33566865;
    const std::map<Op, std::function<bool(double)>> ops{
        {Op::Equal, [&](double v) { return v == pivot; }},
        {Op::NotEqual, [&](double v) { return v != pivot; }},
        {Op::Less, [&](double v) { return v < pivot; }},
        {Op::LessEqual, [&](double v) { return v <= pivot; }},
        {Op::Greater, [&](double v) { return v > pivot; }},
        {Op::GreaterEqual, [&](double v) { return v >= pivot; }}};
    for (const auto& [op, holds] : ops) {
        RowFilter byMode;
        byMode.conditions = {{StatusField::Mode - 1, op, pivot, 0}};
        std::vector<qint32> expected;
        for (qint32 r = 1; r <= stat.Count(); ++r) {
            double v = 0;
            if (plainNumber(stat.field(r, StatusField::Mode), v) && holds(v)) expected.push_back(r);
        }
        EXPECT_EQ(filterRecords(columns, all, byMode), expected) << int(op);
    }
}

TEST_F(TableQueryOnData, WhereUsedFindsEverySlotABruteForceScanFinds) {
    // every field named as an item, in both tables; every field of a relation table but the
    // first and the count
    std::map<int, int> itemCounts;
    for (const Table* table : {&db.DropTable, &db.MvpTable}) {
        for (qint32 r = 1; r <= table->Count(); ++r) {
            for (int f = 1; f <= table->fieldCount(); ++f) {
                if (!table->fieldNames()[f - 1].contains(u"Item"_s)) continue;
                const int id = table->field(r, f).toInt();
                if (id) ++itemCounts[id];
            }
        }
    }
    ASSERT_FALSE(itemCounts.empty());
    int checked = 0;
    for (const auto& [id, count] : itemCounts) {
        const std::vector<SlotUse> uses = itemUses(db, QString::number(id));
        ASSERT_EQ(int(uses.size()), count) << id;
        for (const SlotUse& use : uses) {
            ASSERT_EQ(use.table->field(use.record, use.field).toInt(), id);
            // the rate beside an item is the next field, where it has one
            if (use.rateField) {
                EXPECT_EQ(use.rateField, use.field + 1);
            }
        }
        ++checked;
    }
    EXPECT_EQ(checked, int(itemCounts.size()));
    EXPECT_TRUE(itemUses(db, u"0"_s).empty());

    std::map<QString, int> monsterCounts;
    for (const Table* table : {&db.MorphTable, &db.SummonTable, &db.SlaveTable}) {
        for (qint32 r = 1; r <= table->Count(); ++r) {
            for (int f = 2; f < table->fieldCount(); ++f) {
                const QString key = table->field(r, f).toUpper();
                if (!key.isEmpty()) ++monsterCounts[key];
            }
        }
    }
    ASSERT_FALSE(monsterCounts.empty());
    for (const auto& [key, count] : monsterCounts) {
        // asked in lower case: keys match ignoring letter case
        ASSERT_EQ(int(monsterUses(db, key.toLower()).size()), count) << key.toStdString();
    }
}
