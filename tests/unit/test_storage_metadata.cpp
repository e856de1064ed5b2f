// A save changes nothing about a database file but its bytes: owner, group, permissions,
// extended attributes, ACLs and hard links all stay, whoever saves.

#include <errno.h>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <QTemporaryDir>
#include <cstring>

#include "RunUnprivileged.h"
#include "storage/DatabaseFiles.h"
#include "storage/FileIo.h"
#include "storage/SafeWrite.h"
#include "storage/StateFolder.h"
#include "test_storage_helpers.h"

using namespace mdb;
using namespace mdb::testing;
using namespace Qt::StringLiterals;

namespace {

struct stat statOf(const QString& path) {
    struct stat st {};
    ::stat(QFile::encodeName(path).constData(), &st);
    return st;
}

QByteArray attribute(const QString& path, const char* name) {
    char value[256];
    const ssize_t n = ::getxattr(QFile::encodeName(path).constData(), name, value, sizeof value);
    return n < 0 ? QByteArray("<none>") : QByteArray(value, n);
}

bool setAttribute(const QString& path, const char* name, const QByteArray& value) {
    return ::setxattr(QFile::encodeName(path).constData(), name, value.constData(),
                      size_t(value.size()), 0) == 0;
}

// An access list that lets the user `uid` read: owner rw, that user r, group r, mask r, others
// nothing (the kernel's binary form of a POSIX ACL).
QByteArray readableBy(uid_t uid) {
    QByteArray acl;
    auto put = [&acl](quint32 v, int bytes) {
        for (int i = 0; i < bytes; ++i) acl += char((v >> (8 * i)) & 0xFF);
    };
    put(2, 4);  // version
    const struct {
        quint16 tag, perm;
        quint32 id;
    } entries[] = {
        {0x01, 6, ~0u}, {0x02, 4, quint32(uid)}, {0x04, 4, ~0u}, {0x10, 4, ~0u}, {0x20, 0, ~0u}};
    for (const auto& e : entries) {
        put(e.tag, 2);
        put(e.perm, 2);
        put(e.id, 4);
    }
    return acl;
}

// Every table changed, so that every file gets new bytes.
void changeEveryTable(MonsterDatabase& db, const QString& value) {
    for (Table* t : db.loadOrder()) {
        if (t->Count() > 0) t->setField(1, t->fieldCount(), value);
    }
}

QStringList recoveryCopies() {
    const QString folder = existingStateFolder(u"recovery"_s);
    return folder.isEmpty() ? QStringList() : QDir(folder).entryList(QDir::Files | QDir::Hidden);
}

}  // namespace

TEST(StorageMetadata, SavedFilesKeepOwnerGroupModeAttributesAclAndLinks) {
    QTemporaryDir tmp;
    const QDir dir(tmp.path());
    writeSmallDatabase(dir);
    const QString stat = dir.filePath(u"mob_stat_db.txt"_s);
    const QString drop = dir.filePath(u"mob_drop_db.txt"_s);
    const QString mvp = dir.filePath(u"mob_mvp_db.txt"_s);
    const QString link = dir.filePath(u"drop_link.txt"_s);
    const bool root = ::geteuid() == 0;
    // another owner and group, as a game server's account has them
    if (root) {
        ASSERT_EQ(::chown(QFile::encodeName(stat).constData(), 4242, 4343), 0);
    }
    ASSERT_EQ(::chmod(QFile::encodeName(stat).constData(), 0640), 0);
    ASSERT_EQ(::link(QFile::encodeName(drop).constData(), QFile::encodeName(link).constData()), 0);
    const bool attributes = setAttribute(mvp, "user.origin", "server");
    if (!attributes) std::printf("no user attributes here: %s\n", std::strerror(errno));
    const bool acl = attributes && setAttribute(mvp, "system.posix_acl_access", readableBy(4242));
    const struct stat statBefore = statOf(stat);
    const struct stat dropBefore = statOf(drop);
    const struct stat mvpBefore = statOf(mvp);

    MonsterDatabase db;
    ASSERT_FALSE(loadMonsterDatabase(dir, db));
    for (const QString& value : {u"77"_s, u"7777777777"_s, u"7"_s}) {
        changeEveryTable(db, value);
        const ino_t statInode = statOf(stat).st_ino;
        QStringList strays;
        const auto saved = saveMonsterDatabase(dir, db, &strays);
        ASSERT_FALSE(saved) << value.toStdString() << " " << saved->fileName.toStdString() << " "
                            << saved->detail.toStdString() << " " << saved->inPlace;
        EXPECT_TRUE(strays.isEmpty());
        MonsterDatabase again;
        ASSERT_FALSE(loadMonsterDatabase(dir, again));
        EXPECT_EQ(again.MvpTable.field(1, again.MvpTable.fieldCount()), value);
        EXPECT_EQ(again.DropTable.field(1, again.DropTable.fieldCount()), value);

        const struct stat statAfter = statOf(stat);
        // replaced by a new file, which the saver gave the old one's owner: a saver that could
        // not would have rewritten it in place, and only the inode would tell
        EXPECT_NE(statAfter.st_ino, statInode);
        EXPECT_EQ(statAfter.st_uid, statBefore.st_uid);
        EXPECT_EQ(statAfter.st_gid, statBefore.st_gid);
        EXPECT_EQ(statAfter.st_mode, statBefore.st_mode);
        // the other name of a hard-linked file sees the new bytes: it is still one file
        const struct stat dropAfter = statOf(drop);
        EXPECT_EQ(dropAfter.st_ino, dropBefore.st_ino);
        EXPECT_EQ(dropAfter.st_nlink, 2u);
        EXPECT_EQ(readBytes(link), readBytes(drop));
        const struct stat mvpAfter = statOf(mvp);
        EXPECT_EQ(mvpAfter.st_mode, mvpBefore.st_mode);
        if (attributes) {
            EXPECT_EQ(attribute(mvp, "user.origin"), QByteArray("server"));
        }
        if (acl) {
            EXPECT_EQ(attribute(mvp, "system.posix_acl_access"), readableBy(4242));
        }
    }
    EXPECT_EQ(dir.entryList(QDir::Files | QDir::Hidden).size(), 8);  // no temporary file stays
    EXPECT_TRUE(recoveryCopies().isEmpty());
}

// A saver that may not give a file back its owner or group (not the superuser, not the owner, or
// not in the group) rewrites it in place: the file stays the server's, with its inode.
TEST(StorageMetadata, AFileTheSaverCannotGiveBackItsOwnerIsRewrittenInPlace) {
    if (::geteuid() != 0) GTEST_SKIP() << "only the superuser can make another owner's file";
    QTemporaryDir tmp;
    QTemporaryDir state;
    ASSERT_TRUE(giveToNobody(tmp.path()) && giveToNobody(state.path()));
    const QDir dir(tmp.path());
    writeSmallDatabase(dir);
    const QString emote = dir.filePath(u"mob_emote_db.txt"_s);
    const QString drop = dir.filePath(u"mob_drop_db.txt"_s);
    // another owner's file that nobody may write, and nobody's own file of another group
    ASSERT_EQ(::chown(QFile::encodeName(emote).constData(), 4242, 4343), 0);
    ASSERT_EQ(::chmod(QFile::encodeName(emote).constData(), 0666), 0);
    ASSERT_EQ(::chown(QFile::encodeName(drop).constData(), kNobodyUid, 4343), 0);
    const struct stat emoteBefore = statOf(emote);
    const struct stat dropBefore = statOf(drop);
    for (const QString& name : dir.entryList(QDir::Files)) {
        if (name != u"mob_emote_db.txt"_s && name != u"mob_drop_db.txt"_s) {
            ASSERT_TRUE(giveToNobody(dir.filePath(name)));
        }
    }
    // nobody's own file with an attribute nobody can read but not set (only the superuser sets
    // security.*): a new file would lose it
    const QString morph = dir.filePath(u"mob_morph_db.txt"_s);
    const bool security = setAttribute(morph, "security.mdb_origin", "server");
    if (!security) std::printf("no security attributes here: %s\n", std::strerror(errno));
    const struct stat morphBefore = statOf(morph);

    const ChildResult child = runAsNobody([&]() -> std::string {
        qputenv("XDG_STATE_HOME", QFile::encodeName(state.path()));
        MonsterDatabase db;
        if (loadMonsterDatabase(dir, db)) return "cannot load";
        changeEveryTable(db, u"12345"_s);
        if (auto error = saveMonsterDatabase(dir, db)) {
            return "save failed: " + error->fileName.toStdString() + " " +
                   error->detail.toStdString();
        }
        return {};
    });
    ASSERT_TRUE(child.ran) << child.failure;
    EXPECT_EQ(child.failure, "");
    for (const auto& [path, before] : {std::pair{emote, emoteBefore}, {drop, dropBefore}}) {
        const struct stat after = statOf(path);
        EXPECT_EQ(after.st_ino, before.st_ino) << path.toStdString();
        EXPECT_EQ(after.st_uid, before.st_uid);
        EXPECT_EQ(after.st_gid, before.st_gid);
        EXPECT_EQ(after.st_mode, before.st_mode);
        EXPECT_TRUE(readBytes(path).contains(",12345")) << readBytes(path).toStdString();
    }
    if (security) {
        EXPECT_EQ(statOf(morph).st_ino, morphBefore.st_ino);
        EXPECT_EQ(attribute(morph, "security.mdb_origin"), QByteArray("server"));
        EXPECT_TRUE(readBytes(morph).contains(",12345")) << readBytes(morph).toStdString();
    }
    // a file nobody owns in nobody's group is replaced as usual
    EXPECT_TRUE(readBytes(dir.filePath(u"mob_mvp_db.txt"_s)).endsWith(",12345\r\n"));
    EXPECT_EQ(dir.entryList(QDir::Files | QDir::Hidden).size(), 7);
    EXPECT_TRUE(QDir(state.path() + u"/monster-db-editor/recovery"_s)
                    .entryList(QDir::Files | QDir::Hidden)
                    .isEmpty());
}

TEST(StorageMetadata, ASaveRemovesTheTemporaryFilesOfEarlierCrashedSavesAndNamesThoseThatStay) {
    QTemporaryDir tmp;
    const QDir dir(tmp.path());
    writeSmallDatabase(dir);
    auto plant = [&](const QString& name, bool old) {
        writeBytes(dir.filePath(name), "half a file");
        if (!old) return;
        const struct timespec times[2] = {{1000000000, 0}, {1000000000, 0}};
        ::utimensat(AT_FDCWD, QFile::encodeName(dir.filePath(name)).constData(), times, 0);
    };
    const QStringList crashed{u".mob_stat_db.txt.0123abcd.tmp"_s,
                              u".summon_slave.txt.ffffffff.tmp"_s};
    // another save's file made since this process started, and files not named as a save's
    const QStringList others{u".mob_drop_db.txt.89abcdef.tmp"_s, u".mob_drop_db.txt.xyz.tmp"_s,
                             u".mob_drop_db.txt.0123abcd.tmp.keep"_s, u"mob_mvp_db.txt.0123abcd"_s,
                             u".item_db.txt.0123abcd.tmp"_s};
    for (const QString& name : crashed) plant(name, true);
    plant(others[0], false);
    for (qsizetype i = 1; i < others.size(); ++i) plant(others[i], true);

    MonsterDatabase db;
    ASSERT_FALSE(loadMonsterDatabase(dir, db));
    QStringList strays;
    ASSERT_FALSE(saveMonsterDatabase(dir, db, &strays));
    EXPECT_TRUE(strays.isEmpty());
    for (const QString& name : crashed) EXPECT_FALSE(dir.exists(name)) << name.toStdString();
    for (const QString& name : others) EXPECT_TRUE(dir.exists(name)) << name.toStdString();

    // one that cannot be removed is named, and the save still goes through
    plant(crashed[1], true);
    fileio::setFaultHook([](fileio::Op op) { return op == fileio::Op::RemoveStray ? EBUSY : 0; });
    const auto error = saveMonsterDatabase(dir, db, &strays);
    fileio::setFaultHook({});
    EXPECT_FALSE(error);
    EXPECT_EQ(strays, QStringList{dir.filePath(crashed[1])});
}
