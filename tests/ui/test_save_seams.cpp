// The seams of a save: a file another program changes while the save runs, or renames away
// under a rewrite in place, stops the save at that file; nothing it held is lost, the editor's
// updates stay pending and in the journal, and the next save asks about the file.
#include <QAction>
#include <QFileInfo>
#include <cerrno>

#include "EditorFixture.h"
#include "storage/FileIo.h"
#include "storage/Journal.h"

using namespace Qt::StringLiterals;

namespace mdb::test {

namespace {

const QString kStats = u"mob_stat_db.txt"_s;
const QString kDrops = u"mob_drop_db.txt"_s;
const QString kChanged = u"保存中に他のプログラムによって変更、移動または置き換えられた"_s;

// Installs file-layer hooks for the life of a scope.
struct Hooks {
    Hooks(fileio::FaultHook fault, fileio::StepHook step)
        : fault_(fileio::setFaultHook(std::move(fault))),
          step_(fileio::setStepHook(std::move(step))) {}
    ~Hooks() {
        fileio::setFaultHook(fault_);
        fileio::setStepHook(step_);
    }
    fileio::FaultHook fault_;
    fileio::StepHook step_;
};

}  // namespace

class SaveSeams : public EditorFixture {
protected:
    // An update of the first monster's HP and one of KAPPA_KING's drop rates.
    void updateStatsAndDrops() {
        typeInto(u"Text1(2)"_s, u"4321"_s);
        control<QAction>(u"mnuRenw"_s)->trigger();
        show(u"KAPPA_KING"_s);
        enableFrame(u"Frame2"_s);
        typeInto(u"Text6(1)"_s, u"1234"_s);
        control<QAction>(u"mnuRenw"_s)->trigger();
        messages.messages.clear();
    }
    void save() { control<QAction>(u"MunFileSave"_s)->trigger(); }
    QString lastWarning() const {
        for (auto m = messages.messages.rbegin(); m != messages.messages.rend(); ++m) {
            if (m->isWarning) return m->text;
        }
        return {};
    }
    bool journalKept() const { return QFileInfo::exists(Journal::pathFor(dir.path())); }
};

// Whether the files are replaced or, in a folder that takes no temporary file, rewritten in
// place: another program's change to a file the save has not reached yet is not overwritten.
TEST_F(SaveSeams, AFileChangedWhileTheSaveRunsStopsItThereAndIsAskedAboutNextTime) {
    for (const bool inPlace : {false, true}) {
        SCOPED_TRACE(inPlace ? "rewritten in place" : "replaced");
        startSample();
        updateStatsAndDrops();
        const QByteArray others = "NUE,512,100,0,0,0,0,0,0,0,0,0,0,0,0,0,0\r\n";
        QByteArray changedDrops;
        {
            // another program appends to the drop file once the status file holds the update:
            // as the status file is put in place, or as the drop file's recovery copy is made
            // (after its bytes were read for the rewrite)
            const fileio::Op step = inPlace ? fileio::Op::OpenCopy : fileio::Op::Rename;
            const Hooks hooks(
                [inPlace](fileio::Op op) {
                    return inPlace && op == fileio::Op::OpenTemp ? EACCES : 0;
                },
                [&](fileio::Op op, bool done) {
                    if (op != step || !done || !changedDrops.isEmpty() ||
                        !readBytes(kStats).contains(",4321,")) {
                        return;
                    }
                    changedDrops = readBytes(kDrops) + others;
                    writeBytes(kDrops, changedDrops);
                });
            save();
        }
        ASSERT_FALSE(changedDrops.isEmpty()) << "the status file was never written";
        const QString warning = lastWarning();
        EXPECT_TRUE(warning.contains(u"ファイル mob_drop_db.txt は"_s + kChanged))
            << warning.toStdString();
        EXPECT_TRUE(warning.contains(u"保存済みのファイル: mob_stat_db.txt"_s))
            << warning.toStdString();
        EXPECT_EQ(readBytes(kDrops), changedDrops);
        EXPECT_TRUE(readBytes(kStats).contains(",4321,"));
        EXPECT_TRUE(journalKept());

        // the update of the drops is still to be saved, and the other program's line is asked
        // about
        messages.messages.clear();
        save();
        ASSERT_EQ(messages.messages.size(), 1u);
        EXPECT_TRUE(messages.messages[0].isQuestion);
        EXPECT_TRUE(messages.messages[0].text.contains(kDrops + u"（"_s));
        EXPECT_FALSE(messages.messages[0].text.contains(kStats));
        EXPECT_EQ(readBytes(kDrops), changedDrops);
        // the next round starts afresh, without this round's journal
        window.reset();
        ASSERT_TRUE(QFile::remove(Journal::pathFor(dir.path())));
        messages.messages.clear();
    }
}

TEST_F(SaveSeams, AFileRenamedUnderARewriteInPlaceGetsItsBytesBackAndStopsTheSave) {
    startSample();
    updateStatsAndDrops();
    const QByteArray stats = readBytes(kStats);
    const QByteArray replacement = stats + stats.left(stats.indexOf('\n') + 1);
    bool moved = false;
    {
        // the folder takes no temporary file, so the status file is rewritten where it lies; once
        // the new bytes are in it, another program renames it and puts a file of its own there
        const Hooks hooks([](fileio::Op op) { return op == fileio::Op::OpenTemp ? EACCES : 0; },
                          [&](fileio::Op op, bool done) {
                              if (op != fileio::Op::Resize || done || moved) return;
                              moved = QFile::rename(path(kStats), path(u"moved.txt"_s));
                              writeBytes(kStats, replacement);
                          });
        save();
    }
    ASSERT_TRUE(moved) << "the status file was not rewritten in place";
    const QString warning = lastWarning();
    EXPECT_TRUE(warning.contains(u"ファイル mob_stat_db.txt は"_s + kChanged))
        << warning.toStdString();
    EXPECT_TRUE(warning.contains(u"保存済みのファイルはありません"_s)) << warning.toStdString();
    // the moved file is as it was, the other program's file and the later files untouched
    EXPECT_EQ(readBytes(u"moved.txt"_s), stats);
    EXPECT_EQ(readBytes(kStats), replacement);
    EXPECT_FALSE(readBytes(kDrops).contains("KAPPA_KING,901,9000,1103,1234,"));
    EXPECT_TRUE(journalKept());
}

// A save makes the history clean: the quit question counts only the updates made after it.
TEST_F(SaveSeams, AfterASaveTheQuitQuestionCountsOnlyTheLaterUpdates) {
    startSample();
    updateStatsAndDrops();
    save();
    ASSERT_TRUE(messages.messages.empty()) << messages.messages[0].text.toStdString();
    typeInto(u"Text6(1)"_s, u"77"_s);
    control<QAction>(u"mnuRenw"_s)->trigger();
    messages.answers = {MessageSink::Answer::Cancel};
    EXPECT_FALSE(window->close());
    ASSERT_EQ(messages.messages.size(), 1u);
    EXPECT_TRUE(messages.messages[0].text.startsWith(u"更新した内容（1 件）"_s))
        << messages.messages[0].text.toStdString();
}

}  // namespace mdb::test
