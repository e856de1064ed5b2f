#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <set>

#include "model/CodeTables.h"
#include "storage/DatabaseFiles.h"

using namespace mdb;
using namespace Qt::StringLiterals;

namespace {

const QDir kSample(QString::fromUtf8(MDB_SAMPLE_DIR));

QByteArray bytesOf(const QDir& dir, const QString& name) {
    QFile file(dir.filePath(name));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

}  // namespace

TEST(SampleDatabase, SavesBackToTheSameBytesAndRecords) {
    MonsterDatabase db;
    ASSERT_FALSE(loadMonsterDatabase(kSample, db));
    QTemporaryDir out;
    ASSERT_FALSE(saveMonsterDatabase(QDir(out.path()), db));
    MonsterDatabase again;
    ASSERT_FALSE(loadMonsterDatabase(QDir(out.path()), again));
    for (const Table* table : db.saveOrder()) {
        // the bundled files are kept in the normal form the save writes
        EXPECT_EQ(bytesOf(QDir(out.path()), table->name()), bytesOf(kSample, table->name()))
            << table->name().toStdString();
        const auto rereadTables = again.saveOrder();
        const Table* reread =
            *std::find_if(rereadTables.begin(), rereadTables.end(),
                          [&](const Table* t) { return t->name() == table->name(); });
        ASSERT_EQ(reread->Count(), table->Count());
        for (qint32 r = 1; r <= table->Count(); ++r) {
            for (int f = 1; f <= table->fieldCount(); ++f) {
                ASSERT_EQ(reread->field(r, f), table->field(r, f)) << r << "," << f;
            }
        }
    }
}

TEST(SampleDatabase, HoldsTheCasesTheEditorsAreTriedOn) {
    MonsterDatabase db;
    ItemDatabase items;
    ASSERT_FALSE(loadMonsterDatabase(kSample, db));
    ASSERT_FALSE(loadItemDatabase(kSample, items));
    const Table& stat = db.StatusTable;
    EXPECT_GE(stat.Count(), 35);
    bool comma = false, unlistedMode = false, highMode = false, badElement = false;
    for (qint32 r = 2; r <= stat.Count(); ++r) {
        comma = comma || stat.field(r, StatusField::DisplayName).contains(u',');
        const double mode = stat.field(r, StatusField::Mode).toDouble();
        unlistedMode = unlistedMode || (mode < 64 && !isListedModeValue(mode));
        highMode = highMode || mode > 63;
        badElement =
            badElement || !elementRowForCode(stat.field(r, StatusField::Element).toLongLong());
    }
    EXPECT_TRUE(comma);
    EXPECT_TRUE(unlistedMode);
    EXPECT_TRUE(highMode);
    EXPECT_TRUE(badElement);
    // a key used twice in the emotion table, and monsters with and without records elsewhere
    std::set<QString> keys;
    bool twice = false;
    for (qint32 r = 1; r <= db.EmoteTable.Count(); ++r) {
        twice = twice || !keys.insert(db.EmoteTable.field(r, 1)).second;
    }
    EXPECT_TRUE(twice);
    for (const Table* t :
         {&db.DropTable, &db.MvpTable, &db.MorphTable, &db.SummonTable, &db.SlaveTable}) {
        EXPECT_GT(t->Count(), 0) << t->name().toStdString();
        EXPECT_LT(t->Count(), stat.Count() - 1) << t->name().toStdString();
    }
    EXPECT_GE(items.totalCount(), 30);
    for (const ItemTable* t : items.loadOrder()) EXPECT_GT(t->Count(), 0);
}
