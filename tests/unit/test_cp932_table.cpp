#include <gtest/gtest.h>

#include <QByteArray>
#include <QStringDecoder>
#include <optional>

#include "storage/Cp932.h"
#include "storage/Cp932Table.h"

using namespace mdb;

namespace {

std::optional<QString> byDecoder(QByteArrayView bytes) {
    QStringDecoder decoder("windows-31j", QStringConverter::Flag::Stateless);
    const QString text = decoder.decode(bytes);
    if (decoder.hasError()) return std::nullopt;
    return text;
}

const uchar* bytesOf(const QByteArray& b) {
    return reinterpret_cast<const uchar*>(b.constData());
}

QString byTable(const cp932::CharTable& table, const QByteArray& bytes) {
    std::vector<char16_t> out(size_t(bytes.size() + cp932::CharTable::kSlack));
    const qsizetype n = table.decode(bytesOf(bytes), bytes.size(), bytes.size(), out.data());
    return QString(reinterpret_cast<const QChar*>(out.data()), n);
}

}  // namespace

// The table must take exactly what the code page's decoder takes, and decode it to the same
// text: every byte alone and every one of the 65,536 pairs, each asked of the decoder.
TEST(Cp932Table, AgreesWithTheDecoderOnEveryByteAndEveryPair) {
    const cp932::CharTable* table = cp932::CharTable::instance();
    ASSERT_NE(table, nullptr);
    int disagreements = 0;
    for (int a = 0; a < 256; ++a) {
        const QByteArray one(1, char(a));
        const std::optional<QString> alone = byDecoder(one);
        if (table->decodesAlone(uchar(a)) != alone.has_value()) ++disagreements;
        // a NUL is a character to the decoder, but never one of a database file
        const qsizetype passed = table->wholeCharacters(bytesOf(one), 1);
        const bool lead = cp932::isLeadByte(uchar(a));
        if (passed != (alone && a != 0 ? 1 : 0)) ++disagreements;
        if (lead && alone) ++disagreements;  // a lead byte is never a character alone
        if (alone && byTable(*table, one) != *alone) ++disagreements;
        for (int b = 0; b < 256; ++b) {
            const QByteArray pair = QByteArray(1, char(a)) + char(b);
            const std::optional<QString> text = byDecoder(pair);
            const bool whole = text && a != 0 && b != 0;
            if ((table->wholeCharacters(bytesOf(pair), 2) == 2) != whole) ++disagreements;
            if (lead && table->decodesAsPair(uchar(a), uchar(b)) != text.has_value()) {
                ++disagreements;
            }
            if (text && byTable(*table, pair) != *text) ++disagreements;
        }
    }
    EXPECT_EQ(disagreements, 0);
}

// Runs of ASCII are passed many bytes at a time: a bad byte, a NUL or a lead byte cut off must
// stop the check at its own place wherever it falls in such a run.
TEST(Cp932Table, StopsAtTheFirstBadByteWhereverItFallsInARun) {
    const cp932::CharTable* table = cp932::CharTable::instance();
    ASSERT_NE(table, nullptr);
    const QByteArray ascii(50, 'a');
    for (qsizetype k = 0; k + 2 <= ascii.size(); ++k) {
        QByteArray bad = ascii;
        bad.replace(k, 2, "\x81\x20");  // a lead byte with no character after it
        EXPECT_EQ(table->wholeCharacters(bytesOf(bad), bad.size()), k) << k;
        QByteArray nul = ascii;
        nul[k] = '\0';
        EXPECT_EQ(table->wholeCharacters(bytesOf(nul), nul.size()), k) << k;
        QByteArray good = ascii;
        good.replace(k, 2, "\x95\x5C");  // 表: a second byte that looks like a backslash
        EXPECT_EQ(table->wholeCharacters(bytesOf(good), good.size()), good.size()) << k;
        EXPECT_EQ(byTable(*table, good), byDecoder(good)) << k;
        // a cut-off lead byte at the end: the bytes before it pass
        const QByteArray cut = ascii.left(k) + "\xE0";
        EXPECT_EQ(table->wholeCharacters(bytesOf(cut), cut.size()), k) << k;
    }
    // half-width katakana and pairs mixed, long enough to pass through several runs
    const QByteArray mixed =
        QByteArray("\xB1\xB2 abc \x82\xA0\x82\xA2 defghijklmnopqrs \xFA\x40").repeated(5);
    EXPECT_EQ(table->wholeCharacters(bytesOf(mixed), mixed.size()), mixed.size());
    EXPECT_EQ(byTable(*table, mixed), byDecoder(mixed));
}
