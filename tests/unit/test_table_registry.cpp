// The table registry against itself and the database: every table described whole, once, in
// both orders, with a caption and a role for each of its fields.
#include <gtest/gtest.h>

#include <QSet>
#include <algorithm>

#include "model/MonsterDatabase.h"
#include "model/ValueLimits.h"

using namespace mdb;
using namespace Qt::StringLiterals;

// A table added to the enum but left out of a list, a descriptor or the database fails here.
TEST(TableRegistry, EveryTableIsDescribedWholeAndHeldByTheDatabase) {
    MonsterDatabase db;
    QSet<QString> files;
    for (size_t i = 0; i < kTableCount; ++i) {
        const TableId id = kTableIds[i];
        SCOPED_TRACE(testing::PrintToString(id));
        EXPECT_EQ(indexOf(id), i) << "kTableIds lists the tables in the enum's order";
        const TableDescriptor& d = Tables::of(id);
        EXPECT_FALSE(d.fileName.isEmpty());
        EXPECT_FALSE(d.frameTitle.isEmpty());
        files.insert(d.fileName);
        ASSERT_GT(d.width, 0);
        ASSERT_EQ(int(d.fields.size()), d.width);
        EXPECT_EQ(d.fieldNames.size(), d.width);
        EXPECT_EQ(Tables::idOf(d), id);
        EXPECT_EQ(Tables::byFileName(d.fileName), &d);
        EXPECT_EQ(db.table(id).name(), d.fileName);
        EXPECT_EQ(db.table(id).fieldNames(), d.fieldNames);
        EXPECT_EQ(db.loadOrder()[i], &db.table(id));
        EXPECT_EQ(std::count(kSaveOrder.begin(), kSaveOrder.end(), id), 1);
        EXPECT_EQ(d.minRecords > 0, !d.tooFewRecords.isEmpty());

        QSet<QString> names, captions;
        for (int f = 1; f <= d.fieldCount(); ++f) {
            SCOPED_TRACE(d.fieldNames.value(f - 1).toStdString());
            EXPECT_EQ(d.field(f).name, d.fieldNames.value(f - 1));
            EXPECT_FALSE(d.caption(f).isEmpty());
            names.insert(d.field(f).name);
            captions.insert(d.caption(f));
            // a rate or a count without its limit would let the grid and the checker pass
            // anything
            if (d.role(f) == FieldRole::Rate) EXPECT_EQ(d.limit(f), kRateLimit);
            if (d.role(f) == FieldRole::Count) EXPECT_NE(d.field(f).countRule, CountRule::None);
            if (d.field(f).countRule == CountRule::UpToLimit) EXPECT_GT(d.limit(f), 0);
        }
        EXPECT_EQ(names.size(), d.width) << "two fields of one name";
        EXPECT_EQ(captions.size(), d.width) << "two fields of one caption";
        // every record names its monster once, and only the status table defines it
        ASSERT_EQ(d.fieldsOf(FieldRole::Key).size(), 1u);
        if (d.quotedField) EXPECT_EQ(d.role(d.quotedField), FieldRole::Text);
    }
    EXPECT_EQ(files.size(), qsizetype(kTableCount));
    EXPECT_EQ(db.saveOrder()[0], &db.StatusTable);
}
