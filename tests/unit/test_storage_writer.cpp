#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QTemporaryDir>
#include <cerrno>
#include <csignal>

#include "RunUnprivileged.h"
#include "model/MonsterDatabase.h"
#include "storage/RecordWriter.h"
#include "storage/SafeWrite.h"
#include "test_storage_helpers.h"

using namespace mdb;
using namespace mdb::testing;
using namespace Qt::StringLiterals;

namespace {

QStringList statusRecord(const QString& id, const QString& name, const QString& shown) {
    QStringList f{id, name, shown};
    for (int i = 4; i <= StatusField::Width; ++i) f << QString::number(i);
    return f;
}

QByteArray encoded(const Table& table) {
    QByteArray out("stale");
    const TableDescriptor* described = Tables::byFileName(table.name());
    TableDescriptor loose;  // a table of no database file: nothing quoted
    loose.fileName = table.name();
    auto error = encodeTable(table, described ? *described : loose, out);
    return error ? QByteArray("<refused>") : out;
}

}  // namespace

TEST(StorageWriter, NormalFormQuotesOnlyTheShownNameAndEndsLinesWithCrLf) {
    MonsterDatabase db;
    EXPECT_EQ(encoded(db.StatusTable), QByteArray());  // no record, no bytes
    ASSERT_TRUE(db.StatusTable.appendRecord(statusRecord(u"0"_s, u"DUMMY"_s, u"DUMMY"_s)));
    ASSERT_TRUE(db.StatusTable.appendRecord(statusRecord(u"1002"_s, u"PORING"_s, u"ポリン, 表"_s)));
    const QByteArray tail =
        ",4,5,6,7,8,9,10,11,12,13,14,15,16,17,18,19,20,21,22,23,24,25,26,27,28,29\r\n";
    EXPECT_EQ(
        encoded(db.StatusTable),
        "0,DUMMY,\"DUMMY\"" + tail + "1002,PORING,\"\x83\x7C\x83\x8A\x83\x93, \x95\x5C\"" + tail);

    // blanks at either end survive only in quotes; a quote inside a bare field reads back as is
    ASSERT_TRUE(db.EmoteTable.appendRecord({u"PORING"_s, u"a\"b"_s, u" 2"_s}));
    ASSERT_TRUE(db.EmoteTable.appendRecord({u"x, y "_s, QString(), u"\t"_s}));
    EXPECT_EQ(encoded(db.EmoteTable), QByteArray("PORING,a\"b,\" 2\"\r\n\"x, y \",,\"\t\"\r\n"));
}

TEST(StorageWriter, FieldsThatWouldReadBackDifferentlyAreRefusedByPlace) {
    const struct {
        int field;
        QString value;
        ErrorKind kind;
        QString character;
    } cases[] = {
        {2, u"PO,RING"_s, ErrorKind::UnwritableField, u","_s},
        {3, u"Po\"ring"_s, ErrorKind::UnwritableField, u"\""_s},
        {2, u"\"PORING"_s, ErrorKind::UnwritableField, u"\""_s},
        {3, u"Po\nring"_s, ErrorKind::UnwritableField, u"\n"_s},
        {5, u"1\r"_s, ErrorKind::UnwritableField, u"\r"_s},
        {3, u"ポ가"_s, ErrorKind::Unencodable, u"가"_s},
        {29, u"\U0001F600"_s, ErrorKind::Unencodable, u"\U0001F600"_s},
    };
    for (const auto& c : cases) {
        MonsterDatabase db;
        ASSERT_TRUE(db.StatusTable.appendRecord(statusRecord(u"0"_s, u"DUMMY"_s, u"D"_s)));
        QStringList bad = statusRecord(u"1"_s, u"A"_s, u"B"_s);
        bad[c.field - 1] = c.value;
        ASSERT_TRUE(db.StatusTable.appendRecord(bad));
        QByteArray out("stale");
        const auto error = encodeTable(db.StatusTable, Tables::status(), out);
        ASSERT_TRUE(error) << c.value.toStdString();
        EXPECT_EQ(error->kind, c.kind);
        EXPECT_EQ(error->fileName, u"mob_stat_db.txt"_s);
        EXPECT_EQ(error->record, 2);
        EXPECT_EQ(error->field, c.field);
        EXPECT_EQ(error->fieldName, db.StatusTable.fieldNames()[c.field - 1]);
        EXPECT_EQ(error->character, c.character);
        EXPECT_TRUE(out.isEmpty());
    }
}

TEST(StorageWriter, WholeFileReplaceKeepsTheOldFileOnEveryFailure) {
    QTemporaryDir tmp;
    const QDir dir(tmp.path());
    writeBytes(dir.filePath(u"a.txt"_s), "old\r\n");
    ASSERT_FALSE(writeWholeFile(dir, u"a.txt"_s, "new\r\n"));
    EXPECT_EQ(readBytes(dir.filePath(u"a.txt"_s)), QByteArray("new\r\n"));

    ASSERT_TRUE(dir.mkdir(u"b.txt"_s));
    auto onFolder = writeWholeFile(dir, u"b.txt"_s, "x");
    ASSERT_TRUE(onFolder);
    EXPECT_EQ(onFolder->number(), 1004);
    EXPECT_TRUE(QFileInfo(dir.filePath(u"b.txt"_s)).isDir());

    EXPECT_TRUE(writeWholeFile(QDir(dir.filePath(u"gone"_s)), u"a.txt"_s, "x"));

    // a linked file gets the new bytes where it lies, and the link stays
    ASSERT_TRUE(dir.mkdir(u"real"_s));
    writeBytes(dir.filePath(u"real/c.txt"_s), "old");
    ASSERT_TRUE(QFile::link(dir.filePath(u"real/c.txt"_s), dir.filePath(u"c.txt"_s)));
    ASSERT_FALSE(writeWholeFile(dir, u"c.txt"_s, "linked"));
    EXPECT_TRUE(QFileInfo(dir.filePath(u"c.txt"_s)).isSymLink());
    EXPECT_EQ(readBytes(dir.filePath(u"real/c.txt"_s)), QByteArray("linked"));
    ASSERT_TRUE(QFile::remove(dir.filePath(u"c.txt"_s)));

    // A real short write: the file size limit makes the kernel stop the write part way.
    struct rlimit old {};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &old), 0);
    auto* oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    struct rlimit small = old;
    small.rlim_cur = 4096;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    const auto big = writeWholeFile(dir, u"a.txt"_s, QByteArray(100000, 'x'));
    setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, oldHandler);
    ASSERT_TRUE(big);
    EXPECT_EQ(big->kind, ErrorKind::WriteFailed);
    EXPECT_FALSE(big->detail.isEmpty());
    EXPECT_EQ(readBytes(dir.filePath(u"a.txt"_s)), QByteArray("new\r\n"));
    EXPECT_EQ(dir.entryList(QDir::Files), QStringList{u"a.txt"_s});  // no temporary left behind
}

TEST(StorageWriter, ReadOnlyFileIsNotReplaced) {
    if (geteuid() == 0) GTEST_SKIP() << "permissions do not bind the superuser";
    QTemporaryDir tmp;
    const QDir dir(tmp.path());
    writeBytes(dir.filePath(u"a.txt"_s), "old");
    QFile::setPermissions(dir.filePath(u"a.txt"_s), QFileDevice::ReadOwner);
    EXPECT_TRUE(writeWholeFile(dir, u"a.txt"_s, "new"));
    EXPECT_EQ(readBytes(dir.filePath(u"a.txt"_s)), QByteArray("old"));
}

TEST(StorageWriter, FolderWithoutWritePermissionGetsTheFileRewrittenInPlace) {
    if (geteuid() == 0) GTEST_SKIP() << "permissions do not bind the superuser";
    QTemporaryDir tmp;
    const QDir dir(tmp.path());
    writeBytes(dir.filePath(u"a.txt"_s), "old old old");
    const auto folderMode = QFile::permissions(tmp.path());
    QFile::setPermissions(tmp.path(), QFileDevice::ReadOwner | QFileDevice::ExeOwner);
    const auto shorter = writeWholeFile(dir, u"a.txt"_s, "new");
    QFile::setPermissions(dir.filePath(u"a.txt"_s), QFileDevice::ReadOwner);
    const auto readOnly = writeWholeFile(dir, u"a.txt"_s, "newer");
    QFile::setPermissions(tmp.path(), folderMode);
    EXPECT_FALSE(shorter);
    EXPECT_EQ(readBytes(dir.filePath(u"a.txt"_s)), QByteArray("new"));
    ASSERT_TRUE(readOnly);
    EXPECT_EQ(readOnly->systemError, EACCES);
}

// The two tests above as the unprivileged account nobody, so that they also run where the tests
// run as the superuser.
TEST(StorageWriter, ReadOnlyFileAndFolderWithoutWritePermissionAsAnUnprivilegedUser) {
    if (geteuid() != 0) GTEST_SKIP() << "the tests above run as this user already";
    QTemporaryDir tmp;
    QTemporaryDir state;
    const QDir dir(tmp.path());
    const QString file = dir.filePath(u"a.txt"_s);
    writeBytes(file, "old old old");
    ASSERT_TRUE(giveToNobody(tmp.path()) && giveToNobody(file) && giveToNobody(state.path()));
    const ChildResult child = runAsNobody([&]() -> std::string {
        qputenv("XDG_STATE_HOME", QFile::encodeName(state.path()));
        QFile::setPermissions(file, QFileDevice::ReadOwner);
        const auto readOnly = writeWholeFile(dir, u"a.txt"_s, "new");
        if (!readOnly || readOnly->systemError != EACCES) return "a read-only file was replaced";
        if (readBytes(file) != "old old old") return "a read-only file changed";

        QFile::setPermissions(file, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
        QFile::setPermissions(tmp.path(), QFileDevice::ReadOwner | QFileDevice::ExeOwner);
        if (writeWholeFile(dir, u"a.txt"_s, "new")) return "no rewrite in place";
        if (readBytes(file) != "new")
            return "the rewrite in place wrote " + readBytes(file).toStdString();
        QFile::setPermissions(file, QFileDevice::ReadOwner);
        const auto refused = writeWholeFile(dir, u"a.txt"_s, "newer");
        if (!refused || refused->systemError != EACCES) return "a read-only file was rewritten";
        return {};
    });
    QFile::setPermissions(tmp.path(),
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    ASSERT_TRUE(child.ran) << child.failure;
    EXPECT_EQ(child.failure, "");
    EXPECT_EQ(readBytes(file), QByteArray("new"));
    EXPECT_EQ(dir.entryList(QDir::Files | QDir::Hidden), QStringList{u"a.txt"_s});
}

TEST(StorageWriter, AppendedLineNeverGluesOntoTheLastLine) {
    QTemporaryDir tmp;
    const QDir dir(tmp.path());
    const QString path = dir.filePath(u"e.txt"_s);
    const QStringList fields{u"PORING"_s, u"IDLE_ST"_s, u"ｱ"_s};
    const struct {
        QByteArray before, after;
    } cases[] = {
        {"A,B,1", "A,B,1\r\nPORING,IDLE_ST,\xB1\r\n"},
        {"A,B,1\r\n", "A,B,1\r\nPORING,IDLE_ST,\xB1\r\n"},
        {"A,B,1\n", "A,B,1\nPORING,IDLE_ST,\xB1\r\n"},
        {"A,B,1\r", "A,B,1\rPORING,IDLE_ST,\xB1\r\n"},
        {"", "PORING,IDLE_ST,\xB1\r\n"},
    };
    for (const auto& c : cases) {
        writeBytes(path, c.before);
        ASSERT_FALSE(appendRecordLine(dir, u"e.txt"_s, fields));
        EXPECT_EQ(readBytes(path), c.after) << c.before.toStdString();
    }
    QFile::remove(path);
    ASSERT_FALSE(appendRecordLine(dir, u"e.txt"_s, fields));  // a missing file is created
    EXPECT_EQ(readBytes(path), QByteArray("PORING,IDLE_ST,\xB1\r\n"));

    // a file that does not end between records takes no line: the reader would join them
    for (const QByteArray& open : {QByteArray("A,B,\"1\r\n"), QByteArray("A,B,1,"),
                                   QByteArray("A,B\r\n"), QByteArray("A,B,1\r\nC\r\n")}) {
        writeBytes(path, open);
        const auto error = appendRecordLine(dir, u"e.txt"_s, fields);
        ASSERT_TRUE(error) << open.toStdString();
        EXPECT_EQ(error->kind, ErrorKind::NotRecordBoundary);
        EXPECT_EQ(error->fileName, u"e.txt"_s);
        EXPECT_EQ(readBytes(path), open);
    }
    writeBytes(path, "PORING,IDLE_ST,\xB1\r\n");

    // refusals leave the file as it was
    for (const QString& bad : {u"a,b"_s, u"\"ab"_s, u"a\r\nb"_s, u"가"_s}) {
        const auto error = appendRecordLine(dir, u"e.txt"_s, {u"K"_s, bad, u"1"_s});
        ASSERT_TRUE(error);
        EXPECT_EQ(error->field, 2);
        EXPECT_EQ(readBytes(path), QByteArray("PORING,IDLE_ST,\xB1\r\n"));
    }

    // a FIFO or a device in the file's place is refused at once, neither waited on nor read
    QFile::remove(path);
    ASSERT_EQ(::mkfifo(QFile::encodeName(path).constData(), 0644), 0);
    auto fifo = appendRecordLine(dir, u"e.txt"_s, fields);
    ASSERT_TRUE(fifo);
    EXPECT_EQ(fifo->kind, ErrorKind::NotRegularFile);
    QFile::remove(path);
    ASSERT_TRUE(QFile::link(u"/dev/zero"_s, path));
    auto device = appendRecordLine(dir, u"e.txt"_s, fields);
    ASSERT_TRUE(device);
    EXPECT_EQ(device->kind, ErrorKind::NotRegularFile);
}

// Only what a save names its temporary files, and only those older than this process, are
// taken for leftovers of a save cut short: look-alikes stay.
TEST(StorageWriter, OnlyTheTemporaryFilesOfEarlierSavesAreRemoved) {
    QTemporaryDir tmp;
    const QDir dir(tmp.path());
    writeBytes(dir.filePath(u"a.txt"_s), "old\r\n");
    const QStringList strays{u".a.txt.0123abcd.tmp"_s, u".a.txt.ffffffff.tmp"_s};
    const QStringList lookAlikes{u".a.txt.0123ABCD.tmp"_s,  u".a.txt.0123abc.tmp"_s,
                                 u".a.txt.0123abcde.tmp"_s, u".a.txt.0123abcg.tmp"_s,
                                 u"a.txt.0123abcd.tmp"_s,   u".a.txt.0123abcd.tmp~"_s,
                                 u".b.txt.0123abcd.tmp"_s,  u".aa.txt.0123abcd.tmp"_s};
    for (const QString& name : strays + lookAlikes) {
        writeBytes(dir.filePath(name), "x");
        const struct timespec times[2] = {{1000000000, 0}, {1000000000, 0}};
        ASSERT_EQ(
            ::utimensat(AT_FDCWD, QFile::encodeName(dir.filePath(name)).constData(), times, 0), 0);
    }
    const QString fresh = u".a.txt.00000001.tmp"_s;  // a save running now may own it
    writeBytes(dir.filePath(fresh), "x");
    QStringList left;
    ASSERT_FALSE(writeWholeFile(dir, u"a.txt"_s, "new\r\n", &left));
    EXPECT_TRUE(left.isEmpty());
    EXPECT_EQ(readBytes(dir.filePath(u"a.txt"_s)), "new\r\n");
    for (const QString& name : strays) EXPECT_FALSE(dir.exists(name)) << name.toStdString();
    for (const QString& name : lookAlikes + QStringList{fresh}) {
        EXPECT_TRUE(dir.exists(name)) << name.toStdString();
    }
}
