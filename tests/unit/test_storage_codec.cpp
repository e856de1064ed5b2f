#include <gtest/gtest.h>

#include <QStringDecoder>
#include <optional>

#include "storage/Cp932.h"

using namespace mdb;
using namespace Qt::StringLiterals;

TEST(StorageCodec, CharactersOfTheCodePageSurviveBothWays) {
    // The byte pairs are fixed by the code page; 0x5C as a second byte is the classic trap.
    const struct {
        QString text;
        QByteArray bytes;
    } cases[] = {
        {u"あ"_s, QByteArray("\x82\xA0")}, {u"～"_s, QByteArray("\x81\x60")},
        {u"①"_s, QByteArray("\x87\x40")},  {u"ⅰ"_s, QByteArray("\xFA\x40")},
        {u"ｱ"_s, QByteArray("\xB1")},      {u"表"_s, QByteArray("\x95\x5C")},
        {u"ソ"_s, QByteArray("\x83\x5C")}, {u"a,\"\r\n"_s, QByteArray("a,\"\r\n")},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(cp932::encode(c.text), c.bytes) << c.text.toStdString();
        EXPECT_EQ(cp932::decode(c.bytes), c.text) << c.text.toStdString();
    }
}

TEST(StorageCodec, JisFormsFromInputMethodsAreWrittenInCodePageForms) {
    const QString jis = u"\u301C\u2016\u2212\u00A2\u00A3\u00AC\u2014"_s;
    const QString cp = u"\uFF5E\u2225\uFF0D\uFFE0\uFFE1\uFFE2\u2015"_s;
    EXPECT_EQ(cp932::toCp932Forms(jis), cp);
    const auto bytes = cp932::encode(jis);
    ASSERT_TRUE(bytes);
    EXPECT_EQ(*bytes, cp932::encode(cp));
    EXPECT_EQ(cp932::decode(*bytes), cp);
}

TEST(StorageCodec, UnencodableCharacterIsNamedWhole) {
    QString bad;
    EXPECT_FALSE(cp932::encode(u"ab가c"_s, &bad));
    EXPECT_EQ(bad, u"가"_s);
    // A character outside the basic plane is reported as its surrogate pair, not half of it.
    EXPECT_FALSE(cp932::encode(u"ポリン\U0001F600"_s, &bad));
    EXPECT_EQ(bad, u"\U0001F600"_s);
    EXPECT_FALSE(cp932::encode(u"é"_s, &bad));
    EXPECT_EQ(bad, u"é"_s);
}

TEST(StorageCodec, BadBytesAreRefusedWithTheirOffset) {
    qsizetype offset = -1;
    EXPECT_FALSE(cp932::decode(QByteArray("abc\x85\x40zz"), &offset));  // unassigned pair
    EXPECT_EQ(offset, 3);
    EXPECT_FALSE(cp932::decode(QByteArray("\x82\xA0\x82\xA0\xFF"), &offset));
    EXPECT_EQ(offset, 4);
    // A lead byte cut off by the end of the file must not vanish silently.
    EXPECT_FALSE(cp932::decode(QByteArray("\x82\xA0x\x81"), &offset));
    EXPECT_EQ(offset, 3);
    EXPECT_EQ(cp932::decode(QByteArray()), QString(u""_s));
}

TEST(StorageCodec, LookAlikesAndMovedControlCodesNeverChangeOnTheWayBack) {
    // U+F86F is written as the bytes of № (U+2116); a reload would show another character
    QString bad;
    EXPECT_FALSE(cp932::encode(u"番号\uF86F"_s, &bad));
    EXPECT_EQ(bad, u"\uF86F"_s);
    // the same within a long text of ordinary characters, checked once per distinct character
    const QString longText = QString(u"河童表ソ"_s).repeated(5000) + u"\uF86F"_s;
    EXPECT_FALSE(cp932::encode(longText));
    // control codes that the code page moves are encoded by the converter, not byte for byte
    for (const QString& text : {u"a\u001Ab"_s, u"a\u001Cb"_s, u"a\u007Fb"_s}) {
        const auto bytes = cp932::encode(text);
        if (bytes) {
            EXPECT_EQ(cp932::decode(*bytes), text) << text.toStdString();
        }
    }
}

// The decoder widens plain ASCII itself, sixteen bytes at a time, and hands the rest to the
// code page: text and verdict must be those of decoding the bytes whole, wherever a run,
// a double-byte character with an ASCII-looking second byte, a moved control code or a bad
// byte falls against the sixteen-byte steps.
TEST(StorageCodec, DecodingByRunsGivesWhatTheCodePageGivesWhole) {
    const QByteArray pieces[] = {"\x95\x5C", "\x83\x5C", "\x81\x60",  "\xB1", "\x1A",
                                 "\x1C",     "\x7F",     "\x05",      "\t",   "\r\n",
                                 ",",        "\"",       "\x85\x40",  "\xFF", "\x81",
                                 "\x81,",    "\x82\xA0", "0123456789"};
    auto whole = [](const QByteArray& bytes) -> std::optional<QString> {
        QStringDecoder decoder("windows-31j", QStringConverter::Flag::Stateless);
        QString text = decoder.decode(bytes);
        if (decoder.hasError()) return std::nullopt;
        return text;
    };
    for (int lead = 0; lead < 20; ++lead) {
        for (const QByteArray& piece : pieces) {
            for (const QByteArray& tail : {QByteArray(), QByteArray("abc,def\r\n", 9), piece}) {
                const QByteArray bytes = QByteArray(lead, 'x') + piece + tail;
                EXPECT_EQ(cp932::decode(bytes), whole(bytes)) << bytes.toHex().toStdString();
            }
        }
    }
    // every plain byte, in and out of sixteen-byte steps
    QByteArray ascii;
    for (int b = 0; b < 0x80; ++b) ascii += char(b);
    ascii += ascii.mid(0x20) + "\t\r\n";
    EXPECT_EQ(cp932::decode(ascii), whole(ascii));
}

TEST(StorageCodec, DecodedTextIsAllocatedAtItsSize) {
    // two bytes a character: the text must not keep room for one character a byte, let
    // alone the two a byte the converter asks for
    const QByteArray bytes = QByteArray("\x95\x5C").repeated(4000) + "abc";
    const auto text = cp932::decode(bytes);
    ASSERT_TRUE(text);
    EXPECT_EQ(text->size(), 4003);
    EXPECT_LT(text->capacity(), 4003 + 64);
}
