// A value longer than Qt's default text box limit (32,767 characters) is shown whole, is not
// taken for an edit, and a save writes it back byte for byte.
#include <QAction>
#include <QElapsedTimer>
#include <QLineEdit>
#include <cstdio>

#include "WindowFixture.h"

using namespace Qt::StringLiterals;

namespace mdb::test {

TEST_F(WindowFixture, AValueOfAMillionCharactersIsShownCommittedAndSavedWhole) {
    copySample();
    QByteArray stat = readBytes(u"mob_stat_db.txt"_s);
    // a million characters: ASCII, half-width katakana (one byte each) and one double-byte あ
    const QByteArray huge =
        QByteArray(500000, 'x') + QByteArray(250000, '\xB1') + "\x82\xA0" + QByteArray(249999, 'y');
    const qsizetype name = stat.indexOf("\r\n") + 2;
    const qsizetype from = stat.indexOf(",\"", name) + 1;
    const qsizetype to = stat.indexOf("\",", from + 1) + 1;
    stat.replace(from, to - from, '"' + huge + '"');
    writeBytes(u"mob_stat_db.txt"_s, stat);

    QElapsedTimer timer;
    timer.start();
    ASSERT_EQ(start(), MainWindow::StartResult::Started);
    std::printf("start with a value of a million characters: %lld ms\n",
                static_cast<long long>(timer.elapsed()));
    auto* box = control<QLineEdit>(u"Text4"_s);
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(box->text().size(), 1000000);
    EXPECT_TRUE(box->text().startsWith(u"xxx"_s));
    EXPECT_EQ(box->text().mid(749999, 3), u"ｱあy"_s);
    EXPECT_TRUE(box->text().endsWith(u"yyy"_s));

    // update and save: the file keeps every byte of it
    trigger(u"mnuRenw"_s);
    trigger(u"MunFileSave"_s);
    EXPECT_TRUE(messages.messages.empty());
    EXPECT_EQ(readBytes(u"mob_stat_db.txt"_s), stat);

    // typing at its end still works, with nothing cut
    box->end(false);
    box->insert(u"z"_s);
    EXPECT_EQ(box->text().size(), 1000001);
    trigger(u"mnuRenw"_s);
    trigger(u"MunFileSave"_s);
    EXPECT_EQ(readBytes(u"mob_stat_db.txt"_s).size(), stat.size() + 1);
}

}  // namespace mdb::test
