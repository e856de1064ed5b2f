#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLocalServer>
#include <QTemporaryDir>
#include <QTest>
#include <QWidget>

#include "WindowFixture.h"
#include "app/InstanceGuard.h"

namespace mdb::test {

using namespace Qt::StringLiterals;

namespace {

// Runs the event loop until `done` holds or two seconds pass.
template <class Pred>
bool waitUntil(Pred done) {
    QElapsedTimer timer;
    timer.start();
    while (!done() && timer.elapsed() < 2000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    return done();
}

}  // namespace

TEST(InstanceGuard, SecondStartFindsTheFirstAndBringsItsWindowForward) {
    QTemporaryDir folder;
    SingleInstanceGuard first(folder.path());
    ASSERT_FALSE(first.anotherInstanceRunning());
    QWidget window;
    window.showMinimized();
    first.setWindow(&window);
    ASSERT_TRUE(waitUntil([&] { return window.isMinimized(); }));

    SingleInstanceGuard second(folder.path());
    EXPECT_TRUE(second.anotherInstanceRunning());
    EXPECT_TRUE(waitUntil([&] { return !window.isMinimized(); }));

    // a third start while the first still runs is turned away as well
    SingleInstanceGuard third(folder.path());
    EXPECT_TRUE(third.anotherInstanceRunning());
}

TEST(InstanceGuard, SocketLeftByACrashedRunDoesNotStopTheNextStart) {
    QTemporaryDir folder;
    QString socketPath;
    {
        SingleInstanceGuard crashed(folder.path());
        socketPath = crashed.socketPath();
    }
    // a socket file with no server behind it, as a killed process leaves it
    QLocalServer stale;
    ASSERT_TRUE(stale.listen(socketPath));
    stale.close();
    QFile leftover(socketPath);
    ASSERT_TRUE(leftover.open(QIODevice::WriteOnly));
    leftover.close();

    SingleInstanceGuard next(folder.path());
    EXPECT_FALSE(next.anotherInstanceRunning());
    EXPECT_TRUE(QFile::exists(next.socketPath()));
}

TEST(InstanceGuard, EachUserFolderHasItsOwnInstance) {
    QTemporaryDir a;
    QTemporaryDir b;
    SingleInstanceGuard first(a.path());
    SingleInstanceGuard other(b.path());
    EXPECT_FALSE(first.anotherInstanceRunning());
    EXPECT_FALSE(other.anotherInstanceRunning());
}

// A second start for the folder the editor has open says nothing; one for another folder is
// told in the running window, which names both folders.
class SecondStart : public WindowFixture {};

TEST_F(SecondStart, ForAnotherFolderTheRunningWindowSaysWhichIsOpen) {
    copySample();
    QTemporaryDir runtime;
    SingleInstanceGuard guard(runtime.path());
    MainWindow running(QDir(dir.path()), messages, &guard);
    ASSERT_EQ(running.startUp(), MainWindow::StartResult::Started);

    SingleInstanceGuard same(runtime.path());
    EXPECT_TRUE(same.anotherInstanceRunning(dir.path() + u"/."_s));
    QTest::qWait(300);
    EXPECT_TRUE(messages.messages.empty());

    QTemporaryDir other;
    SingleInstanceGuard second(runtime.path());
    EXPECT_TRUE(second.anotherInstanceRunning(other.path()));
    ASSERT_TRUE(waitUntil([&] { return !messages.messages.empty(); }));
    const QString said = messages.messages.front().text;
    EXPECT_TRUE(said.contains(other.path())) << said.toStdString();
    EXPECT_TRUE(said.contains(dir.path())) << said.toStdString();
}

}  // namespace mdb::test
