// What the editor keeps between runs (recovery copies of files rewritten in place) goes to a
// folder of this test run, never to the user's home.

#include <gtest/gtest.h>

#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <memory>

namespace {

class StateHome : public ::testing::Environment {
public:
    void SetUp() override {
        // in memory when there is room: the recovery copies of rewrites in place are synced
        const QFileInfo shm(QStringLiteral("/dev/shm"));
        folder_ = shm.isDir() && shm.isWritable()
                      ? std::make_unique<QTemporaryDir>(QStringLiteral("/dev/shm/mdb-state-XXXXXX"))
                      : std::make_unique<QTemporaryDir>();
        qputenv("XDG_STATE_HOME", QFile::encodeName(folder_->path()));
    }
    void TearDown() override { folder_.reset(); }

private:
    std::unique_ptr<QTemporaryDir> folder_;
};

[[maybe_unused]] ::testing::Environment* const kStateHome =
    ::testing::AddGlobalTestEnvironment(new StateHome);

}  // namespace
