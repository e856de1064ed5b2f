// A save that stops before it overwrites another program's change to a file, also after a save
// that stopped part way and after the editor's own appended lines.
#include "UnsavedWorkFixture.h"
#include "storage/FileIo.h"
#include "ui/commands/ViewModes.h"

using namespace Qt::StringLiterals;

namespace mdb::test {

TEST_F(UnsavedWorkTest, ASaveStopsBeforeOverwritingAnotherProgramsChange) {
    startSample();
    makeTwoUpdates();
    const auto before = files();
    QByteArray drops = before.at(u"mob_drop_db.txt"_s);
    drops.replace("KAPPA,901,3000", "KAPPA,901,3333");
    writeBytes(u"mob_drop_db.txt"_s, drops);
    const auto changed = files();

    // the default answer is to cancel: every file stays as it is
    trigger(u"MunFileSave"_s);
    ASSERT_EQ(messages.messages.size(), 1u);
    EXPECT_TRUE(messages.messages[0].isQuestion);
    EXPECT_EQ(messages.messages[0].answers, (QStringList{u"上書き保存"_s, u"キャンセル"_s}));
    EXPECT_TRUE(question().contains(u"mob_drop_db.txt（"_s)) << question().toStdString();
    EXPECT_FALSE(question().contains(u"mob_stat_db.txt"_s));
    EXPECT_EQ(files(), changed);

    // overwriting writes the editor's bytes; the next save asks nothing
    messages.messages.clear();
    messages.choices = {0};
    trigger(u"MunFileSave"_s);
    EXPECT_EQ(messages.messages.size(), 1u);
    EXPECT_TRUE(readBytes(u"mob_drop_db.txt"_s).contains("KAPPA,901,3000,"));
    EXPECT_TRUE(readBytes(u"mob_drop_db.txt"_s).contains("KAPPA_KING,901,9000,1103,1234,"));
    messages.messages.clear();
    typeInto(u"Text6(1)"_s, u"77"_s);
    trigger(u"mnuRenw"_s);
    trigger(u"MunFileSave"_s);
    EXPECT_TRUE(messages.messages.empty());
    EXPECT_TRUE(readBytes(u"mob_drop_db.txt"_s).contains("KAPPA_KING,901,9000,1103,77,"));
}

TEST_F(UnsavedWorkTest, AfterASaveThatStoppedPartWayOnlyOtherProgramsChangesAreAskedAbout) {
    startSample();
    makeTwoUpdates();
    QByteArray slaves = readBytes(u"summon_slave.txt"_s);
    ASSERT_FALSE(slaves.isEmpty());
    slaves += "KAPPA,KAPPA,,,,,1\r\n";
    writeBytes(u"summon_slave.txt"_s, slaves);
    {
        // overwrite, but the third file of the save order cannot be written
        messages.choices = {0};
        int temps = 0;
        const auto previous = fileio::setFaultHook(
            [&](fileio::Op op) { return op == fileio::Op::OpenTemp && ++temps == 3 ? EIO : 0; });
        trigger(u"MunFileSave"_s);
        fileio::setFaultHook(previous);
    }
    ASSERT_EQ(messages.messages.size(), 2u);
    EXPECT_TRUE(messages.messages[0].isQuestion);
    EXPECT_FALSE(messages.messages[1].isQuestion);
    EXPECT_TRUE(readBytes(u"mob_drop_db.txt"_s).contains("KAPPA_KING,901,9000,1103,1234,"));
    EXPECT_EQ(readBytes(u"summon_slave.txt"_s), slaves);

    messages.messages.clear();
    trigger(u"MunFileSave"_s);
    ASSERT_EQ(messages.messages.size(), 1u);
    EXPECT_TRUE(question().contains(u"summon_slave.txt（"_s)) << question().toStdString();
    for (const QString& own : {u"mob_stat_db.txt"_s, u"mob_drop_db.txt"_s, u"mob_mvp_db.txt"_s}) {
        EXPECT_FALSE(question().contains(own)) << question().toStdString();
    }
    EXPECT_EQ(readBytes(u"summon_slave.txt"_s), slaves);
}

TEST_F(UnsavedWorkTest, AppendedLinesAreTheEditorsOwnAndDoNotStopTheSave) {
    startSample();
    trigger(u"mnuProf"_s);
    trigger(u"mnuMenu2"_s);
    show(u"CHOCHIN"_s);  // no drop record
    typeInto(u"Text1(2)"_s, u"77"_s);
    trigger(u"mnuRenw"_s);
    click(u"Command8"_s);
    typeInto(u"Text5(0)"_s, u"501"_s);
    const QByteArray dropsBefore = readBytes(u"mob_drop_db.txt"_s);
    trigger(u"mnuDdrIns"_s);
    ASSERT_NE(readBytes(u"mob_drop_db.txt"_s), dropsBefore) << "the append did not happen";
    messages.messages.clear();
    trigger(u"MunFileSave"_s);
    for (const auto& m : messages.messages) EXPECT_FALSE(m.isQuestion) << m.text.toStdString();
    EXPECT_TRUE(readBytes(u"mob_drop_db.txt"_s).contains("CHOCHIN,501,"));

    // Another program's line before the editor's own append is still another program's change:
    // the save asks, and cancelling (the default) leaves both lines where they are.
    const QByteArray others = "NUE,512,100,0,0,0,0,0,0,0,0,0,0,0,0,0,0\r\n";
    writeBytes(u"mob_drop_db.txt"_s, readBytes(u"mob_drop_db.txt"_s) + others);
    show(u"ZASHIKI"_s);
    click(u"Command8"_s);
    typeInto(u"Text5(0)"_s, u"503"_s);
    control<QAction>(u"mnuDdrIns"_s)->trigger();
    const QByteArray appended = readBytes(u"mob_drop_db.txt"_s);
    ASSERT_TRUE(appended.contains(others + "ZASHIKI,503,")) << appended.toStdString();
    show(u"KAPPA_KING"_s);
    typeInto(u"Text1(2)"_s, u"88"_s);
    trigger(u"mnuRenw"_s);
    messages.messages.clear();
    trigger(u"MunFileSave"_s);
    EXPECT_TRUE(question().contains(u"mob_drop_db.txt（"_s)) << question().toStdString();
    EXPECT_EQ(readBytes(u"mob_drop_db.txt"_s), appended);
}

}  // namespace mdb::test
