// Quitting asks first when updates were not saved or the forms hold edits not yet updated.
#include <QAction>
#include <QSignalBlocker>
#include <cerrno>

#include "EditorFixture.h"
#include "storage/FileIo.h"
#include "storage/Journal.h"
#include "ui/editors/DropEditor.h"

using namespace Qt::StringLiterals;

namespace mdb::test {

using Answer = MessageSink::Answer;

class Quit : public EditorFixture {
protected:
    void SetUp() override {
        EditorFixture::SetUp();
        startSample();
        window->show();
    }
    // Closes the window as the user would, answering a question with `answer`; whether it
    // closed and the question asked, if any.
    struct Outcome {
        bool closed;
        QString question;
    };
    Outcome quitAnswering(Answer answer) {
        window->show();
        messages.answers = {answer};
        const bool closed = window->close();
        QString question;
        for (const auto& m : messages.messages) {
            if (m.isQuestion) question = m.text;
        }
        messages.messages.clear();
        EXPECT_EQ(closed, !window->isVisible());
        return {closed, question};
    }
    QByteArray stat() const { return readBytes(u"mob_stat_db.txt"_s); }
};

TEST_F(Quit, UnsavedUpdatesAskWithThreeAnswers) {
    const QByteArray original = stat();
    // nothing to lose, an update without edits included: the window closes at once
    EXPECT_EQ(quitAnswering(Answer::Cancel).question, QString());
    trigger(u"mnuRenw"_s);
    const Outcome untouched = quitAnswering(Answer::Cancel);
    EXPECT_TRUE(untouched.closed);
    EXPECT_EQ(untouched.question, QString());

    typeInto(u"Text1(2)"_s, u"4321"_s);
    trigger(u"mnuRenw"_s);
    const Outcome cancelled = quitAnswering(Answer::Cancel);
    EXPECT_FALSE(cancelled.closed);
    EXPECT_EQ(cancelled.question,
              u"更新した内容（1 件）がまだ上書き保存されていません\r\n"
              u"このまま終了すると、これらの変更は失われます\r\n"
              u"上書き保存してから終了しますか？"_s);
    EXPECT_TRUE(quitAnswering(Answer::Discard).closed);
    EXPECT_EQ(stat(), original);

    // the menu entry asks the same; saving writes the update, and then nothing is left to ask
    window->show();
    messages.answers = {Answer::Save};
    trigger(u"MunFileQuit"_s);
    EXPECT_FALSE(window->isVisible());
    EXPECT_NE(stat(), original);
    EXPECT_EQ(window->database().StatusTable.field(2, StatusField::Hp), u"4321"_s);
    messages.messages.clear();
    EXPECT_EQ(quitAnswering(Answer::Cancel).question, QString());
}

TEST_F(Quit, EditsNotYetUpdatedAreUpdatedAndSavedOrTheWindowStays) {
    const QByteArray drops = readBytes(u"mob_drop_db.txt"_s);
    show(u"KAPPA_KING"_s);
    enableFrame(u"Frame2"_s);
    typeInto(u"Text6(1)"_s, u"1234"_s);
    const Outcome cancelled = quitAnswering(Answer::Cancel);
    EXPECT_FALSE(cancelled.closed);
    EXPECT_TRUE(cancelled.question.startsWith(u"まだ更新していない編集があります\r\n"_s))
        << cancelled.question.toStdString();

    // an update that finds no record to copy into (the position box emptied) quits nothing
    QLineEdit* positionBox = control<QLineEdit>(u"Text0"_s);
    const QString position = positionBox->text();
    {
        const QSignalBlocker quiet(positionBox);
        positionBox->clear();
        messages.answers = {Answer::Save};
        EXPECT_FALSE(window->close());
        positionBox->setText(position);
    }
    ASSERT_EQ(messages.messages.size(), 2u);
    EXPECT_TRUE(messages.messages[1].text.startsWith(u"編集内容を更新できなかったため"_s));
    messages.messages.clear();
    EXPECT_TRUE(editor(TableId::Drop).hasUncommittedEdits());

    // a save that fails keeps the window open with the edits, and says why
    {
        const auto previous = fileio::setFaultHook(
            [](fileio::Op op) { return op == fileio::Op::Write ? ENOSPC : 0; });
        messages.answers = {Answer::Save};
        EXPECT_FALSE(window->close());
        fileio::setFaultHook(previous);
    }
    ASSERT_EQ(messages.messages.size(), 2u);
    EXPECT_TRUE(messages.messages[1].isWarning);
    EXPECT_EQ(messages.messages[1].title, u"保存エラー"_s);
    messages.messages.clear();
    EXPECT_EQ(readBytes(u"mob_drop_db.txt"_s), drops);

    // the update happened; the answer now names only the unsaved update, and saving closes
    const Outcome saved = quitAnswering(Answer::Save);
    EXPECT_TRUE(
        saved.question.startsWith(u"更新した内容（1 件）がまだ上書き保存されていません\r\n"_s));
    EXPECT_TRUE(saved.closed);
    EXPECT_TRUE(readBytes(u"mob_drop_db.txt"_s).contains("KAPPA_KING,901,9000,1103,1234,"));
}

// Work the user let go is not offered again at the next start; a restore question closed
// without an answer applies nothing, deletes nothing and is asked again.
TEST_F(Quit, DiscardedWorkIsNotOfferedAgainAndAQuestionPutOffIsAskedAgain) {
    const QString journal = Journal::pathFor(dir.path());
    const QByteArray original = stat();
    const auto restart = [&] {
        window.reset();
        messages.messages.clear();
        EXPECT_EQ(start(), MainWindow::StartResult::Started);
        QString asked;
        for (const auto& m : messages.messages) {
            if (m.isQuestion) asked = m.text;
        }
        return asked;
    };
    typeInto(u"Text1(2)"_s, u"4321"_s);
    trigger(u"mnuRenw"_s);
    ASSERT_TRUE(QFile::exists(journal));
    EXPECT_TRUE(quitAnswering(Answer::Discard).closed);
    EXPECT_FALSE(QFile::exists(journal));
    EXPECT_EQ(restart(), QString());
    EXPECT_EQ(stat(), original);

    // undone back to what the files hold: the quit asks nothing and leaves nothing behind
    typeInto(u"Text1(2)"_s, u"4321"_s);
    trigger(u"mnuRenw"_s);
    trigger(u"mnuUndo"_s);
    EXPECT_EQ(quitAnswering(Answer::Cancel).question, QString());
    EXPECT_FALSE(QFile::exists(journal));
    EXPECT_EQ(restart(), QString());

    // left by a killed run; the question put off (後で) twice, then restored
    typeInto(u"Text1(2)"_s, u"4321"_s);
    trigger(u"mnuRenw"_s);
    const QString offer = u"前回保存されなかった更新が 1 件あります。復元しますか？"_s;
    for (int run = 0; run < 2; ++run) {
        messages.choices = {2};
        EXPECT_TRUE(restart().startsWith(offer)) << run;
        EXPECT_NE(window->database().StatusTable.field(2, StatusField::Hp), u"4321"_s);
        EXPECT_TRUE(QFile::exists(journal));
    }
    EXPECT_TRUE(restart().startsWith(offer));
    EXPECT_EQ(window->database().StatusTable.field(2, StatusField::Hp), u"4321"_s);
    EXPECT_EQ(stat(), original);
}

}  // namespace mdb::test
