#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTextStream>
#include <cctype>
#include <ostream>
#include <string>

#include "check/CheckCommand.h"

using namespace Qt::StringLiterals;

namespace {

struct Damage {
    const char* fixture;  // file of tests/data put in place of `target`; null removes `target`
    const char* target;
    QStringList options;
    int status;
    QString expected;  // a line (or its start) of the report
};

// One damaged file in an otherwise sound copy of the sample database.
class CheckerOnDamage : public ::testing::TestWithParam<Damage> {};

TEST_P(CheckerOnDamage, NamesThePlaceAndSetsTheExitStatus) {
    const Damage& d = GetParam();
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QDir sample(QStringLiteral(MDB_SAMPLE_DIR));
    for (const QString& name : sample.entryList({u"*.txt"_s}, QDir::Files)) {
        ASSERT_TRUE(QFile::copy(sample.filePath(name), dir.filePath(name)));
    }
    const QString target = dir.filePath(QString::fromUtf8(d.target));
    ASSERT_TRUE(QFile::remove(target));
    if (d.fixture) {
        const QDir data(QStringLiteral(MDB_TEST_DATA_DIR));
        ASSERT_TRUE(QFile::copy(data.filePath(QString::fromUtf8(d.fixture)), target));
    }

    QString out, err;
    QTextStream outStream(&out), errStream(&err);
    const int status = mdb::check::runChecker(
        QStringList{u"monster-db-check"_s} + d.options + QStringList{dir.path()}, outStream,
        errStream);
    outStream.flush();

    EXPECT_EQ(status, d.status) << out.toStdString();
    const QStringList lines = out.split(u'\n');
    EXPECT_TRUE(std::any_of(lines.begin(), lines.end(),
                            [&](const QString& l) { return l.trimmed().startsWith(d.expected); }))
        << "expected: " << d.expected.toStdString() << "\nreport:\n"
        << out.toStdString();
    // the other nine files are not blamed
    const bool refused = d.status == 1 && !d.options.contains(u"--strict"_s);
    EXPECT_EQ(out.count(u": 読み込めません"_s), refused ? 1 : 0) << out.toStdString();
    EXPECT_TRUE(err.isEmpty());
}

// What gtest prints for a parameter (in place of its bytes).
void PrintTo(const Damage& d, std::ostream* os) {
    *os << (d.fixture ? d.fixture : "(removed)") << " as " << d.target;
    for (const QString& option : d.options) *os << ' ' << option.toStdString();
}

// Stable, readable test names: the fixture (or the file taken away) and the options, so that
// ctest lists `Fixtures/CheckerOnDamage.NamesThePlaceAndSetsTheExitStatus/emote_blank_line_at_end`
// rather than the bytes of the parameter.
std::string damageName(const ::testing::TestParamInfo<Damage>& info) {
    const Damage& d = info.param;
    std::string name = d.fixture ? std::string(d.fixture) : "missing_" + std::string(d.target);
    if (name.size() > 4 && name.compare(name.size() - 4, 4, ".txt") == 0)
        name.resize(name.size() - 4);
    for (const QString& option : d.options) name += "_" + option.mid(2).toStdString();
    for (char& c : name) {
        if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
    }
    return name;
}

const QString kBadBytes = u"エラー: Shift_JIS（コードページ932）として読めないバイトがあります"_s;

INSTANTIATE_TEST_SUITE_P(
    Fixtures, CheckerOnDamage,
    ::testing::Values(
        Damage{"drop_records_one_field_short.txt",
               "mob_drop_db.txt",
               {},
               1,
               u"mob_drop_db.txt:1: エラー: 項目が 16 個あります（1 レコードは 17 項目）"_s},
        Damage{"emote_blank_line_at_end.txt",
               "mob_emote_db.txt",
               {},
               1,
               u"mob_emote_db.txt:3: エラー: 空白行です"_s},
        Damage{"emote_invalid_cp932_pair_on_line_2.txt",
               "mob_emote_db.txt",
               {},
               1,
               u"mob_emote_db.txt:2:17: "_s + kBadBytes + u"（0x85 0x40）"_s},
        Damage{"emote_lead_byte_cut_at_end.txt",
               "mob_emote_db.txt",
               {},
               1,
               u"mob_emote_db.txt:2:17: "_s + kBadBytes + u"（0x81）"_s},
        Damage{
            "emote_comment_line_2.txt",
            "mob_emote_db.txt",
            {},
            1,
            u"mob_emote_db.txt:2: エラー: //で始まる行はコメントではなく、項目が 1 個のデータ"_s},
        Damage{"emote_comment_line_2_with_three_fields.txt",
               "mob_emote_db.txt",
               {},
               0,
               u"mob_emote_db.txt:2: 警告: //で始まる行はコメントではなく、1 件のレコード"_s},
        // a record is one line: lines whose fields would add up to whole records still fail
        Damage{"emote_line_1_short_line_2_long.txt",
               "mob_emote_db.txt",
               {},
               1,
               u"mob_emote_db.txt:2: エラー: 項目が 4 個あります（1 レコードは 3 項目）"_s},
        Damage{
            "emote_three_extra_fields_on_line_2.txt",
            "mob_emote_db.txt",
            {},
            1,
            u"mob_emote_db.txt: 読み込めません — 2 行目（2 件目のレコード）の項目数が 1 レコードの 3 項目と合いません（エラー番号 62）"_s},
        Damage{
            "emote_unclosed_quote_in_last_field.txt",
            "mob_emote_db.txt",
            {},
            1,
            u"mob_emote_db.txt:2: エラー: この行の「\"」は閉じられず、ファイルの終わりまでが 1 項目になります"_s},
        Damage{
            "emote_quoted_comma_on_line_1.txt",
            "mob_emote_db.txt",
            {},
            0,
            u"mob_emote_db.txt:1:13: 警告: 2 項目目（State）の「,」はエディタが書き戻せません"_s},
        Damage{"emote_quoted_comma_on_line_1.txt",
               "mob_emote_db.txt",
               {u"--strict"_s},
               1,
               u"結果: 10 ファイルすべてを読み込めます（警告があります）"_s},
        Damage{
            "emote_second_code_of_a_character_on_line_2.txt",
            "mob_emote_db.txt",
            {},
            0,
            u"mob_emote_db.txt:2:9: 警告: 「∵」（0xFA 0x5B）は、この項目を編集して保存すると 0x81 0xE6 になります"_s},
        Damage{
            "emote_unclosed_quote_on_line_2.txt",
            "mob_emote_db.txt",
            {},
            1,
            u"mob_emote_db.txt:2: エラー: 項目が 2 個あります（1 レコードは 3 項目）。この行の「\"」は閉じられず"_s},
        Damage{
            "emote_comma_at_end_of_file.txt",
            "mob_emote_db.txt",
            {},
            1,
            u"mob_emote_db.txt:2: エラー: 項目が 2 個あります（1 レコードは 3 項目）。ファイル末尾の「,」"_s},
        Damage{"emote_utf8_that_also_decodes_as_cp932.txt",
               "mob_emote_db.txt",
               {},
               0,
               u"mob_emote_db.txt: 警告: UTF-8 で保存されたファイルのようです"_s},
        Damage{"stat_quoted_names_blanks_and_text_after_quote.txt",
               "mob_stat_db.txt",
               {},
               0,
               u"mob_stat_db.txt:2:23: 警告: 閉じる「\"」の後の「x」は読み込まれず"_s},
        // the record takes the next line's values and the next record is gone
        Damage{"stat_unclosed_display_name_on_line_4.txt",
               "mob_stat_db.txt",
               {},
               0,
               u"mob_stat_db.txt:4: 警告: この行の「\"」で始まる項目が 5 行目まで続いています"_s},
        Damage{"stat_placeholder_only.txt",
               "mob_stat_db.txt",
               {},
               1,
               u"mob_stat_db.txt: 読み込めません — モンスターのレコードがありません"_s},
        Damage{nullptr,
               "summon_slave.txt",
               {},
               1,
               u"summon_slave.txt: 読み込めません — ファイルがありません（エラー番号 53）"_s},
        Damage{nullptr,
               "item_equip_db.txt",
               {},
               1,
               u"item_equip_db.txt: 読み込めません — ファイルがありません"_s}),
    damageName);

TEST(CheckerCommandLine, SoundSampleHelpAndWrongUse) {
    QString out, err;
    QTextStream o(&out), e(&err);
    // the sample's files are sound; its references are looked at in test_references.cpp
    EXPECT_EQ(
        mdb::check::runChecker({u"c"_s, u"--no-refs"_s, QStringLiteral(MDB_SAMPLE_DIR)}, o, e), 0);
    o.flush();
    EXPECT_FALSE(out.contains(u"警告"_s)) << out.toStdString();
    EXPECT_TRUE(out.contains(u"結果: 10 ファイルすべてを読み込めます\n"_s));

    // a file of the database names its folder
    EXPECT_EQ(mdb::check::runChecker(
                  {u"c"_s, QStringLiteral(MDB_SAMPLE_DIR) + u"/mob_stat_db.txt"_s}, o, e),
              0);
    EXPECT_EQ(mdb::check::runChecker({u"c"_s, u"--help"_s}, o, e), 0);
    EXPECT_EQ(mdb::check::runChecker({u"c"_s, u"--bogus"_s}, o, e), 2);
    EXPECT_EQ(mdb::check::runChecker({u"c"_s, u"/no/such/folder"_s}, o, e), 2);
    EXPECT_EQ(mdb::check::runChecker({u"c"_s, u"a"_s, u"b"_s}, o, e), 2);
    EXPECT_EQ(mdb::check::runChecker({u"c"_s, u"--strict=yes"_s}, o, e), 2);
    e.flush();
    EXPECT_TRUE(err.contains(u"/no/such/folder"_s));
    // the checker's own words, not Qt's English ones
    EXPECT_TRUE(err.contains(u"monster-db-check: 不明なオプションです: --bogus\n"_s))
        << err.toStdString();
    EXPECT_TRUE(err.contains(u"このオプションは値を取りません: --strict=yes"_s));
    EXPECT_FALSE(err.contains(u"nknown"_s) || err.contains(u"nexpected"_s)) << err.toStdString();
}

}  // namespace
