// A real editor process ended by a signal keeps its unsaved work in the journal: the next start
// offers it, and restoring and saving writes what saving before the signal would have.
#include <signal.h>

#include <QAction>
#include <QProcess>

#include "EditorFixture.h"
#include "storage/Journal.h"

using namespace Qt::StringLiterals;

namespace mdb::test {

class KilledProcess : public EditorFixture {
protected:
    // Runs the driver on the database, waits until its update is made, then sends `signal`.
    void runAndKill(int signal, const QStringList& values) {
        QProcess driver;
        driver.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(u"QT_QPA_PLATFORM"_s, u"offscreen"_s);
        driver.setProcessEnvironment(env);
        driver.start(QString::fromLocal8Bit(MDB_UPDATE_DRIVER), QStringList{dir.path()} + values);
        ASSERT_TRUE(driver.waitForStarted(10000));
        QByteArray out;
        while (!out.contains("ready") && driver.waitForReadyRead(30000)) out += driver.readAll();
        ASSERT_TRUE(out.contains("ready")) << out.constData();
        ASSERT_EQ(::kill(pid_t(driver.processId()), signal), 0);
        ASSERT_TRUE(driver.waitForFinished(30000));
        if (signal == SIGKILL) {
            EXPECT_EQ(driver.exitStatus(), QProcess::CrashExit);
        } else {
            EXPECT_EQ(driver.exitStatus(), QProcess::NormalExit);  // ended cleanly, not killed
            EXPECT_EQ(driver.exitCode(), 0);
        }
    }
    // The files a save writes after the same updates made in this process.
    std::map<QString, QByteArray> savedAfter(const QStringList& values) {
        QTemporaryDir other;
        const QDir sample(QStringLiteral(MDB_SAMPLE_DIR));
        for (const QString& name : sample.entryList({u"*.txt"_s}, QDir::Files)) {
            QFile::copy(sample.filePath(name), QDir(other.path()).filePath(name));
        }
        RecordingMessageSink quiet;
        MainWindow window(QDir(other.path()), quiet);
        EXPECT_EQ(window.startUp(), MainWindow::StartResult::Started);
        for (int i = 0; i < values.size(); ++i) {
            window.findChild<QLineEdit*>(u"Text1(%1)"_s.arg(2 + i))->setText(values[i]);
            window.findChild<QAction*>(u"mnuRenw"_s)->trigger();
        }
        window.findChild<QAction*>(u"MunFileSave"_s)->trigger();
        return allFiles(QDir(other.path()));
    }
    static std::map<QString, QByteArray> allFiles(const QDir& folder) {
        std::map<QString, QByteArray> out;
        for (const QString& name : folder.entryList({u"*.txt"_s}, QDir::Files)) {
            QFile file(folder.filePath(name));
            if (file.open(QIODevice::ReadOnly)) out[name] = file.readAll();
        }
        return out;
    }
    // Starts on the database, restores what is offered, and saves.
    QString restoreAndSave() {
        messages.messages.clear();
        EXPECT_EQ(start(), MainWindow::StartResult::Started);
        QString question;
        for (const auto& m : messages.messages) {
            if (m.isQuestion) question = m.text;
        }
        trigger(u"MunFileSave"_s);
        return question;
    }
};

TEST_F(KilledProcess, TermHupAndIntKeepUpdatesAndTypedValues) {
    const QStringList values{u"4321"_s, u"88"_s};
    const auto expected = savedAfter(values);
    for (int signal : {SIGTERM, SIGHUP, SIGINT}) {
        copySample();
        const auto before = allFiles(QDir(dir.path()));
        runAndKill(signal, values);
        EXPECT_EQ(allFiles(QDir(dir.path())), before) << "nothing saved on the way out";
        EXPECT_EQ(restoreAndSave(), u"前回保存されなかった更新が 2 件あります。復元しますか？"_s)
            << signal;
        EXPECT_EQ(allFiles(QDir(dir.path())), expected) << signal;
        EXPECT_FALSE(QFile::exists(Journal::pathFor(dir.path())));
        window.reset();
    }
}

TEST_F(KilledProcess, AHardKillLosesNoUpdate) {
    const auto expected = savedAfter({u"4321"_s});
    copySample();
    runAndKill(SIGKILL, {u"4321"_s, u"88"_s});
    EXPECT_EQ(restoreAndSave(), u"前回保存されなかった更新が 1 件あります。復元しますか？"_s);
    EXPECT_EQ(allFiles(QDir(dir.path())), expected);
}

}  // namespace mdb::test
