// Unsaved updates undone and redone exactly, listed and reverted, counted by the quit question,
// and kept in the journal when the session ends.
#include <QAbstractItemView>
#include <QPushButton>
#include <QUndoStack>

#include "UnsavedWorkFixture.h"
#include "ui/changes/PendingChangesWindow.h"

using namespace Qt::StringLiterals;

namespace mdb::test {

TEST_F(UnsavedWorkTest, UndoingEveryUpdateSavesTheBytesReadAndRedoTheEditedOnes) {
    startSample();
    const auto original = files();
    EXPECT_FALSE(control<QAction>(u"mnuUndo"_s)->isEnabled());
    const QString kappaRate = window->database().DropTable.field(2, 5);
    makeTwoUpdates();
    EXPECT_TRUE(control<QAction>(u"mnuUndo"_s)->isEnabled());
    trigger(u"MunFileSave"_s);
    const auto edited = files();
    ASSERT_NE(edited.at(u"mob_drop_db.txt"_s), original.at(u"mob_drop_db.txt"_s));

    // undoing the drop update shows KAPPA_KING's old rate even while another monster is shown
    show(u"KAPPA"_s);
    trigger(u"mnuUndo"_s);
    EXPECT_EQ(text(u"Text2A"_s), u"KAPPA_KING"_s);
    EXPECT_EQ(text(u"Text6(1)"_s), kappaRate);
    EXPECT_EQ(window->database().DropTable.field(2, 5), kappaRate);
    trigger(u"mnuUndo"_s);
    EXPECT_EQ(text(u"Text0"_s), u"1"_s);
    EXPECT_NE(text(u"Text1(2)"_s), u"4321"_s);
    EXPECT_FALSE(control<QAction>(u"mnuUndo"_s)->isEnabled());
    trigger(u"MunFileSave"_s);
    EXPECT_EQ(files(), original);

    trigger(u"mnuRedo"_s);
    EXPECT_EQ(text(u"Text1(2)"_s), u"4321"_s);
    trigger(u"mnuRedo"_s);
    EXPECT_EQ(text(u"Text6(1)"_s), u"1234"_s);
    EXPECT_FALSE(control<QAction>(u"mnuRedo"_s)->isEnabled());
    trigger(u"MunFileSave"_s);
    EXPECT_EQ(files(), edited);
    EXPECT_TRUE(messages.messages.empty());
}

TEST_F(UnsavedWorkTest, UndoAndRedoOfTheShownMonsterRefreshEveryEditor) {
    startSample();
    show(u"KAPPA_KING"_s);
    enableFrame(u"Frame2"_s);
    const QString hp = text(u"Text1(2)"_s);
    const QString rate = text(u"Text6(1)"_s);
    typeInto(u"Text1(2)"_s, u"4321"_s);
    typeInto(u"Text6(1)"_s, u"1234"_s);
    trigger(u"mnuRenw"_s);
    trigger(u"mnuUndo"_s);
    EXPECT_EQ(text(u"Text2A"_s), u"KAPPA_KING"_s);
    EXPECT_EQ(text(u"Text1(2)"_s), hp);
    EXPECT_EQ(text(u"Text6(1)"_s), rate);
    EXPECT_FALSE(window->holdsUncommittedEdits());
    trigger(u"mnuRedo"_s);
    EXPECT_EQ(text(u"Text1(2)"_s), u"4321"_s);
    EXPECT_EQ(text(u"Text6(1)"_s), u"1234"_s);
    EXPECT_FALSE(window->holdsUncommittedEdits());
}

TEST_F(UnsavedWorkTest, PendingChangesAreListedRevertedAndCountedByTheQuitQuestion) {
    startSample();
    window->show();
    makeTwoUpdates();
    trigger(u"mnuPendingChanges"_s);
    auto* list = window->findChild<PendingChangesWindow*>(u"PendingChangesWindow"_s);
    ASSERT_NE(list, nullptr);
    auto* view = list->findChild<QAbstractItemView*>(u"changeList"_s);
    QAbstractItemModel* rows = view->model();
    const auto cell = [rows](int row, int column) {
        return rows->index(row, column).data().toString();
    };
    ASSERT_EQ(rows->rowCount(), 2);
    // in the form's words: the monster by display name and key, the field by its caption
    EXPECT_EQ(cell(0, 0), u"mob_stat_db.txt"_s);
    EXPECT_EQ(cell(0, 1), u"沼河童 (KAPPA)"_s);
    EXPECT_EQ(cell(0, 2), u"ＨＰ"_s);
    EXPECT_EQ(cell(0, 4), u"4321"_s);
    EXPECT_EQ(cell(1, 1), u"河童,大将 (KAPPA_KING)"_s);
    EXPECT_EQ(cell(1, 2), u"確率２"_s);
    EXPECT_EQ(cell(1, 3), u"500"_s);
    EXPECT_EQ(cell(1, 4), u"1234"_s);

    // reverting is one more step: the rate is back, and undoing the revert brings 1234 again
    view->setCurrentIndex(rows->index(1, 0));
    list->findChild<QPushButton*>(u"revertButton"_s)->click();
    EXPECT_EQ(window->database().DropTable.field(2, 5), u"500"_s);
    QCoreApplication::processEvents();
    EXPECT_EQ(rows->rowCount(), 1);
    trigger(u"mnuUndo"_s);
    EXPECT_EQ(window->database().DropTable.field(2, 5), u"1234"_s);
    QCoreApplication::processEvents();
    EXPECT_EQ(rows->rowCount(), 2);

    messages.answers = {MessageSink::Answer::Cancel};
    EXPECT_FALSE(window->close());
    // the revert and its undo cancel out: two updates lie between the tables and the files
    EXPECT_TRUE(question().startsWith(u"更新した内容（2 件）がまだ上書き保存されていません"_s))
        << question().toStdString();
    // undone down to what the files hold, nothing is left to ask about
    for (int i = 0; i < 2; ++i) trigger(u"mnuUndo"_s);
    messages.messages.clear();
    EXPECT_TRUE(window->close());
    EXPECT_EQ(question(), QString());
}

TEST_F(UnsavedWorkTest, EndingTheSessionKeepsEditsNotYetUpdatedInTheJournal) {
    startSample();
    window->show();
    typeInto(u"Text1(2)"_s, u"4321"_s);
    trigger(u"mnuRenw"_s);
    typeInto(u"Text1(3)"_s, u"88"_s);  // typed, never updated
    window->endSession();
    EXPECT_FALSE(window->isVisible());
    EXPECT_EQ(question(), QString());  // no question on the way out
    const JournalContents journal = readJournal(readBytesFrom(journalPath()));
    ASSERT_FALSE(journal.damaged);
    ASSERT_EQ(journal.updates.size(), 2u);
    EXPECT_EQ(journal.updates[1][0].after, u"88"_s);
}

TEST_F(UnsavedWorkTest, ValuesTheEditorsRewriteOnShowingAreNoEdits) {
    copySample();
    QByteArray drops = readBytes(u"mob_drop_db.txt"_s);
    ASSERT_TRUE(drops.startsWith("KAPPA,901,3000,"));
    drops.replace("KAPPA,901,3000,", "KAPPA,901,,");
    writeBytes(u"mob_drop_db.txt"_s, drops);
    QByteArray emotes = readBytes(u"mob_emote_db.txt"_s);
    ASSERT_TRUE(emotes.contains("KAPPA,IDLE_ST,2\r\n"));
    emotes.replace("KAPPA,IDLE_ST,2\r\n", "KAPPA,IDLE_ST,02\r\n");
    writeBytes(u"mob_emote_db.txt"_s, emotes);
    ASSERT_EQ(start(), MainWindow::StartResult::Started);
    window->show();
    show(u"KAPPA_KING"_s);
    show(u"KAPPA"_s);
    EXPECT_EQ(text(u"Text6(0)"_s), u"0"_s);  // the empty rate, after another, shows as 0
    EXPECT_FALSE(window->holdsUncommittedEdits());
    EXPECT_TRUE(window->close());
    EXPECT_EQ(question(), QString());

    // what the user types is an edit, also when typed back to the shown text after an update
    window->show();
    enableFrame(u"Frame2"_s);
    typeInto(u"Text6(0)"_s, u"5"_s);
    EXPECT_TRUE(window->holdsUncommittedEdits());
    trigger(u"mnuRenw"_s);
    EXPECT_FALSE(window->holdsUncommittedEdits());
    typeInto(u"Text6(0)"_s, u"0"_s);
    EXPECT_TRUE(window->holdsUncommittedEdits());
}

}  // namespace mdb::test
