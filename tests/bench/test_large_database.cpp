// The benchmarks' data maker against the table descriptors: a generated file the program
// would refuse, or read with its records shifted, would time the wrong work.
#include <gtest/gtest.h>

#include "LargeDatabase.h"
#include "model/TableDescriptor.h"
#include "storage/RecordReader.h"

using namespace mdb;

TEST(LargeDatabase, EveryGeneratedFileHoldsOneRecordOfItsTablesWidthPerLine) {
    auto texts = bench::generateMonsterTexts(120);
    texts.merge(bench::generateItemTexts(300));
    EXPECT_EQ(texts.size(), Tables::monsterTables().size() + Tables::itemTables().size());
    for (const auto& [fileName, generated] : texts) {
        SCOPED_TRACE(fileName.toStdString());
        const TableDescriptor* d = Tables::byFileName(fileName);
        ASSERT_NE(d, nullptr);
        const QByteArray bytes = bench::encodeOrDie(generated);
        QString text;
        qint64 records = 0;
        ASSERT_FALSE(readRecords(bytes, fileName, d->width, text, [&](const QStringView*) {
            ++records;
            return true;
        }));
        EXPECT_GT(records, 0);
        EXPECT_EQ(records, bytes.count("\r\n"));
    }
}
