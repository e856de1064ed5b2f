// A save killed before or after any one of its file operations, or failing at one and killed
// right after: the next start puts back what a rewrite in place left half done, offers the
// updates the files do not hold yet, and restoring and saving writes exactly the bytes the save
// would have written. Another program's change to a file none of the updates touched is kept
// through all of it.
#include <errno.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QAction>
#include <QRegularExpression>
#include <cstdio>

#include "EditorFixture.h"
#include "StateFolderHelpers.h"
#include "storage/FileIo.h"
#include "storage/Journal.h"

using namespace Qt::StringLiterals;

namespace mdb::test {

class KilledSave : public EditorFixture {
protected:
    using Files = std::map<QString, QByteArray>;
    enum class Way { Replacing, InPlace };

    void SetUp() override {
        EditorFixture::SetUp();
        copySample();
        original = files();
        ASSERT_EQ(start(), MainWindow::StartResult::Started);
        makeUpdates();
        save();
        saved = files();
        window.reset();
        for (const QString& name :
             {u"mob_stat_db.txt"_s, u"mob_drop_db.txt"_s, u"mob_mvp_db.txt"_s}) {
            ASSERT_NE(saved.at(name), original.at(name)) << name.toStdString();
        }
        ASSERT_EQ(saved.at(kUntouched), original.at(kUntouched));
    }

    Files files() const {
        Files out;
        for (const QString& name : QDir(dir.path()).entryList({u"*.txt"_s}, QDir::Files)) {
            out[name] = readBytes(name);
        }
        return out;
    }
    // Updates of three files, one at a time: KAPPA_KING's HP, one of its drop rates and the
    // rate of its first MVP item.
    void makeUpdates() {
        show(u"KAPPA_KING"_s);
        enableFrame(u"Frame2"_s);
        enableFrame(u"Frame5"_s);
        for (const auto& [box, value] : {std::pair{u"Text1(2)"_s, u"4321"_s},
                                         {u"Text6(1)"_s, u"1234"_s},
                                         {u"Text8(0)"_s, u"2500"_s}}) {
            typeInto(box, value);
            control<QAction>(u"mnuRenw"_s)->trigger();
        }
    }
    void save() { control<QAction>(u"MunFileSave"_s)->trigger(); }

    // The save, in a child process with the window as it is: killed at its `killAt`-th step
    // boundary (before or after one operation), or with its `failAt`-th operation failing and
    // killed once the save has reported the failure. False when the save was over first.
    bool saveKilled(Way way, int killAt, int failAt) {
        std::fflush(nullptr);
        const pid_t pid = ::fork();
        if (pid == 0) {
            int steps = 0;
            int operations = 0;
            fileio::setStepHook([&](fileio::Op, bool) {
                if (++steps == killAt) ::raise(SIGKILL);
            });
            fileio::setFaultHook([&](fileio::Op op) {
                // a folder that takes no temporary file: the files are rewritten in place
                if (way == Way::InPlace && op == fileio::Op::OpenTemp) return EACCES;
                return ++operations == failAt ? EIO : 0;
            });
            save();
            if (failAt > 0 && operations >= failAt) ::raise(SIGKILL);
            ::_exit(0);
        }
        int status = 0;
        for (int waited = 0; waited < 3000; ++waited) {
            if (::waitpid(pid, &status, WNOHANG) == pid) {
                return WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL;
            }
            ::usleep(10000);
        }
        ::kill(pid, SIGKILL);
        ::waitpid(pid, &status, 0);
        ADD_FAILURE() << "the save did not end";
        return false;
    }

    // Every kill point (or every failing operation) of one way of saving.
    void killEverywhere(Way way, bool failFirst) {
        const QString journal = Journal::pathFor(dir.path());
        int kills = 0;
        int offered = 0;
        for (int point = 1;; ++point) {
            for (const auto& [name, bytes] : original) writeBytes(name, bytes);
            QFile::remove(journal);
            messages.messages.clear();
            ASSERT_EQ(start(), MainWindow::StartResult::Started);
            makeUpdates();
            const bool killed = saveKilled(way, failFirst ? 0 : point, failFirst ? point : 0);
            window.reset();
            if (!killed) break;
            ++kills;
            const std::string where =
                (way == Way::InPlace ? "in place, " : "replacing, ") +
                std::string(failFirst ? "failing operation " : "kill point ") +
                std::to_string(point);
            // at every other point another program adds a line to a file no update touched
            Files expected = saved;
            if (point % 2 == 1) {
                expected[kUntouched] = original.at(kUntouched) + "KAPPA,IDLE_ST,9\r\n";
                writeBytes(kUntouched, expected[kUntouched]);
            }

            messages.messages.clear();
            ASSERT_EQ(start(), MainWindow::StartResult::Started) << where;
            // the restore question alone, naming no field as another program's change, and
            // the notice of a file put back
            static const QRegularExpression plainOffer(
                u"^前回保存されなかった更新が [0-9]+ 件あります。復元しますか？$"_s);
            for (const auto& m : messages.messages) {
                if (m.isQuestion) ++offered;
                EXPECT_TRUE(m.isQuestion ? plainOffer.match(m.text).hasMatch()
                                         : m.title == u"ファイルの復旧"_s)
                    << where << ": " << m.text.toStdString();
            }
            messages.messages.clear();
            save();
            for (const auto& m : messages.messages) {
                ADD_FAILURE() << where << ": " << m.text.toStdString();
            }
            const Files now = files();
            for (const auto& [name, bytes] : expected) {
                EXPECT_EQ(now.at(name), bytes) << name.toStdString() << ", " << where;
            }
            EXPECT_FALSE(QFile::exists(journal)) << where;
            window.reset();
            if (HasFailure()) return;
        }
        std::printf("%s, %s: %d kills, %d restore questions, every save exact\n",
                    way == Way::InPlace ? "in place" : "replacing",
                    failFirst ? "a failed operation then a kill" : "killed at a step", kills,
                    offered);
        // every file of the seven, before and after several steps each
        EXPECT_GE(kills, failFirst ? 7 : 7 * 4);
        EXPECT_GT(offered, 0);
    }

    const QString kUntouched = u"mob_emote_db.txt"_s;
    FreshStateHome state;
    Files original;
    Files saved;
};

TEST_F(KilledSave, KilledAtAnyStepOfASaveThatReplacesFiles) {
    killEverywhere(Way::Replacing, false);
}

TEST_F(KilledSave, KilledAtAnyStepOfASaveThatRewritesInPlace) {
    killEverywhere(Way::InPlace, false);
}

TEST_F(KilledSave, KilledAfterAnyOperationFailedInASave) {
    killEverywhere(Way::Replacing, true);
    killEverywhere(Way::InPlace, true);
}

}  // namespace mdb::test
