// The rule by which a file's bytes are not kept beside its text: every character it lets
// through encodes back to the bytes it was read from, checked against the code page's own
// converter for every single byte and every double-byte sequence.
#include <gtest/gtest.h>

#include <QStringDecoder>
#include <QStringEncoder>

#include "storage/Cp932.h"
#include "storage/Cp932Table.h"
#include "storage/ExactBytes.h"
#include "storage/RecordReader.h"

using namespace mdb;
using namespace Qt::StringLiterals;

namespace {

// What the code page's own converter makes of bytes that decode to one character, or nothing.
std::optional<QString> decodeOne(const QByteArray& bytes) {
    QStringDecoder decoder("windows-31j", QStringConverter::Flag::Stateless);
    const QString text = decoder.decode(bytes);
    if (decoder.hasError() || text.isEmpty()) return std::nullopt;
    return text;
}

QByteArray encodedByTheConverter(const QString& text) {
    QStringEncoder encoder("windows-31j", QStringConverter::Flag::Stateless);
    const QByteArray bytes = encoder.encode(text);
    return encoder.hasError() ? QByteArray("(error)") : bytes;
}

}  // namespace

TEST(ExactBytes, EveryCharacterTheRuleLetsThroughEncodesBackToItsOwnBytes) {
    // the reader decodes through the character table once it is built
    ASSERT_TRUE(cp932::CharTable::instance());
    QByteArray allAccepted;  // every accepted character's bytes, with ASCII between them
    QString allText;
    int accepted = 0, refusedThatDiffer = 0, acceptedInTwiceHeldRows = 0;
    auto check = [&](const QByteArray& bytes) {
        const std::optional<QString> text = decodeOne(bytes);
        if (!text) return;
        const bool sameBack = encodedByTheConverter(*text) == bytes;
        // the reader learns the rule's verdict while it decodes, and must learn the same
        if (!bytes.contains('\0')) {
            QString read;
            bool exact = !cp932::encodesBackExactly(bytes);
            ASSERT_FALSE(decodeRecordText(bytes, u"t.txt"_s, read, &exact));
            ASSERT_EQ(read, *text) << bytes.toHex().toStdString();
            ASSERT_EQ(exact, cp932::encodesBackExactly(bytes)) << bytes.toHex().toStdString();
        }
        // in the rows the code page holds twice the rule goes pair by pair: it keeps the bytes
        // of exactly the pairs that do not come back, and no more
        const uchar lead = uchar(bytes[0]);
        if (bytes.size() == 2 && (lead == 0x87 || lead == 0xED || lead == 0xEE || lead >= 0xFA)) {
            ASSERT_EQ(cp932::encodesBackExactly(bytes), sameBack)
                << "pair " << bytes.toHex().toStdString();
            acceptedInTwiceHeldRows += sameBack ? 1 : 0;
        }
        if (!cp932::encodesBackExactly(bytes)) {
            refusedThatDiffer += sameBack ? 0 : 1;
            return;
        }
        ++accepted;
        ASSERT_TRUE(sameBack) << "accepted but spelt otherwise: " << bytes.toHex().toStdString();
        QByteArray alone;
        ASSERT_TRUE(cp932::encodeExactly(*text, alone)) << bytes.toHex().toStdString();
        ASSERT_EQ(alone, bytes) << bytes.toHex().toStdString();
        allAccepted += bytes + (accepted % 3 ? "" : "a,\r\n");
        allText += *text + (accepted % 3 ? u""_s : u"a,\r\n"_s);
    };
    for (int b = 0; b < 0x100; ++b) {
        if (!cp932::isLeadByte(uchar(b))) check(QByteArray(1, char(b)));
    }
    for (int lead = 0; lead < 0x100; ++lead) {
        if (!cp932::isLeadByte(uchar(lead))) continue;
        for (int trail = 0; trail < 0x100; ++trail) {
            QByteArray bytes;
            bytes += char(lead);
            bytes += char(trail);
            check(bytes);
        }
    }
    // the rule lets through nearly the whole code page, and what it keeps back includes
    // characters that truly come back as other bytes (≒ of NEC row 13, ∵ of the IBM rows)
    EXPECT_GT(accepted, 7000);
    EXPECT_GT(refusedThatDiffer, 300);
    EXPECT_FALSE(cp932::encodesBackExactly(QByteArray("\x87\x90")));
    EXPECT_FALSE(cp932::encodesBackExactly(QByteArray("\xFA\x5B")));
    EXPECT_FALSE(cp932::encodesBackExactly(QByteArray("\xED\x40")));
    // ① and ⅰ, common in names, come back: a file holding them need not be kept twice
    EXPECT_GT(acceptedInTwiceHeldRows, 400);
    EXPECT_TRUE(cp932::encodesBackExactly(QByteArray("\x87\x40")));
    EXPECT_TRUE(cp932::encodesBackExactly(QByteArray("\xFA\x40")));

    // all of them in one text: the runs between plain ASCII go to the converter together
    ASSERT_EQ(cp932::decode(allAccepted), allText);
    // and read as a file, with one character that does not come back after all of them
    for (const QByteArray& last : {QByteArray(), QByteArray("\x87\x90"), QByteArray("\x1C")}) {
        QString read;
        bool exact = last.isEmpty() ? false : true;
        ASSERT_FALSE(decodeRecordText(allAccepted + last, u"t.txt"_s, read, &exact));
        EXPECT_EQ(read.first(allText.size()), allText);
        EXPECT_EQ(exact, last.isEmpty());
    }
    QByteArray whole("kept");
    ASSERT_TRUE(cp932::encodeExactly(allText, whole));
    EXPECT_EQ(whole, "kept" + allAccepted);
}

TEST(ExactBytes, TheRuleFollowsCharactersNotBytes) {
    // 0x87 and 0xFA as second bytes belong to ordinary characters
    EXPECT_TRUE(cp932::encodesBackExactly(QByteArray("\x88\x87\x88\xFA,\xB1")));
    EXPECT_FALSE(cp932::encodesBackExactly(QByteArray("\x88\x87\x87\x90")));
    EXPECT_TRUE(cp932::encodesBackExactly(QByteArray("\x88\x87\x87\x40")));
    // a lead byte cut off at the end is no character that comes back
    EXPECT_FALSE(cp932::encodesBackExactly(QByteArray("a\x87")));
    // control codes the code page moves keep their bytes; tab and line ends are plain
    EXPECT_TRUE(cp932::encodesBackExactly(QByteArray("a\tb\r\nc\n")));
    EXPECT_FALSE(cp932::encodesBackExactly(QByteArray("a\x1C")));
    EXPECT_FALSE(cp932::encodesBackExactly(QByteArray("a\x7F")));
    EXPECT_FALSE(cp932::encodesBackExactly(QByteArray("\x80")));
    // a character the converter cannot write, or writes as a look-alike's bytes, is refused,
    // and nothing is added
    // characters whose low byte is a tab, a line end or printable ASCII are no ASCII: at any
    // place in a long run they go to the converter, whole
    for (const char16_t c : {u'\u010A', u'\u0120', u'\u017E', u'\uFF0A', u'\uFF20', u'\u8D0A',
                             u'\u4E09', u'\uFF5E', u'\u0080', u'\u007F', u'\u001C'}) {
        for (int at : {0, 7, 8, 15, 16, 17, 31}) {
            const QString text = QString(at, u'a') + QChar(c) + QString(40, u'b') + u"\r\n"_s;
            QByteArray mine;
            const bool written = cp932::encodeExactly(text, mine);
            const QByteArray theirs = encodedByTheConverter(text);
            if (written) {
                EXPECT_EQ(mine, theirs) << int(c) << " at " << at;
            } else {
                EXPECT_TRUE(theirs == "(error)" || cp932::decode(theirs) != text) << int(c);
            }
        }
    }
    QByteArray out("x");
    EXPECT_FALSE(cp932::encodeExactly(u"番号\uF86F"_s, out));
    EXPECT_FALSE(cp932::encodeExactly(u"a\U0001F600b"_s, out));
    EXPECT_EQ(out, "x");
}
