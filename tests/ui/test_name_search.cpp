#include <gtest/gtest.h>

#include <QStringList>

#include "ui/controls/ColumnModel.h"
#include "ui/controls/FindListEntry.h"
#include "ui/controls/KeyIndex.h"

using namespace Qt::StringLiterals;

namespace mdb::test {

namespace {

// The first row from the top that begins with `text`, ignoring letter case, row by row.
int scanFor(const ColumnModel& model, const QString& text) {
    for (int row = 0; row < model.count(); ++row) {
        if (model.view(row).startsWith(text, Qt::CaseInsensitive)) return row;
    }
    return -1;
}

}  // namespace

// The name search answers from rows grouped by their first character; it must find what a scan
// from the top finds, where letter case is more than A-Z, for texts no row begins with, for
// rows appended after the grouping and after row 0 was given a text of its own.
TEST(NameSearch, FindsWhatTheScanFromTheTopFinds) {
    const QStringList rows{u"Poring"_s,         u"PORING_1"_s, u"poporing"_s,     u"\u212Aelvin"_s,
                           u"kappa"_s,          u"Straße"_s,   u"\u017Ftar"_s,    u"STAR"_s,
                           u"ǅemal"_s,          u"ǆ"_s,        u"ςigma"_s,        u"Σigma"_s,
                           u"河童"_s,           u"河"_s,       u"ｐｏｒｉｎｇ"_s, u"İstanbul"_s,
                           u"𐐀abc"_s,           u"𐐨ABC"_s,     QString(),         u" lead"_s,
                           u"\xD801"_s + u"x"_s};
    ColumnModel model(rows.mid(0, 9));
    QStringList queries;
    for (const QString& row : rows) {
        for (qsizetype n = 0; n <= row.size() + 1; ++n) {
            queries << row.left(n) << row.left(n).toUpper() << row.left(n).toLower();
        }
    }
    queries << u"K"_s << u"k"_s << u"\u212A"_s << u"s"_s << u"\u017F"_s << u"σ"_s << u"Σ"_s
            << u"ZZQ"_s << u"x"_s << u"河童X"_s << u"ＰＯ"_s << u"i"_s << u"I"_s << u"ı"_s
            << u"\xDC01"_s << u" "_s;
    auto expectScan = [&](const char* stage) {
        for (const QString& query : queries) {
            EXPECT_EQ(findRow(model, query, MatchMode::Prefix), scanFor(model, query))
                << stage << ": " << query.toStdString();
        }
    };
    expectScan("first rows");
    model.appendRows(rows.mid(9));
    expectScan("rows appended after the first search");
    model.replaceFirstRow(u"モンスター名"_s);
    expectScan("row 0 replaced");
    EXPECT_EQ(findRow(model, u"モ"_s, MatchMode::Prefix), 0);
    EXPECT_EQ(findRow(model, u"ZZQ"_s, MatchMode::Prefix), -1);
    EXPECT_EQ(findRow(model, u"pOr"_s, MatchMode::Prefix), 1);
}

// A key is hashed four letters at a time: every letter, wherever it falls in a block of four,
// must find the row that spells it in the other case, and a sign next to the letters (@ [ `
// {) must not be taken for one.
TEST(KeyIndex, FoldsEveryLetterWhereverItFallsInABlock) {
    QStringList rows;
    for (char16_t c = 0x20; c < 0x7F; ++c) {
        for (int pad = 0; pad < 5; ++pad) rows << QString(pad, u'x') + QChar(c) + u"yz"_s;
    }
    rows << u"ＡＢ"_s << u"A河"_s;
    ColumnModel indexed(rows);
    indexed.indexWholeText();
    ColumnModel scanned(rows);
    for (const QString& row : rows) {
        for (const QString& query : {row, row.toUpper(), row.toLower()}) {
            EXPECT_EQ(findRow(indexed, query, MatchMode::WholeText),
                      findRow(scanned, query, MatchMode::WholeText))
                << query.toStdString();
        }
        EXPECT_EQ(KeyIndex::foldedHash(row.toUpper()), KeyIndex::foldedHash(row.toLower()))
            << row.toStdString();
    }
}

}  // namespace mdb::test
