// Starts on crafted damaged or hostile folders: each ends with its one message (or starts, for
// the line ends the reader takes as they are), and nothing in the folder is written. A FIFO in
// the folder must not make the start wait: ctest gives this test a timeout.

#include <errno.h>
#include <string.h>
#include <sys/stat.h>
#include <sys/types.h>
#include <unistd.h>

#include <QCryptographicHash>
#include <functional>
#include <map>

#include "WindowFixture.h"

using namespace Qt::StringLiterals;

namespace mdb::test {

namespace {

const QString kOpenError = u"ファイルオープンエラー"_s;
const QString kUnknownError = u"不明なエラー"_s;

QString system(int error) {
    return QString::fromLocal8Bit(strerror(error));
}
QString formatText() {
    return u"データベースファイル形式が不正です\r\n"
           u"空白行や//で始まる行、または未入力項目や適正値超過・入力列超過\r\n"
           u"などが　データベース内に存在するとプログラムを起動出来ません"_s;
}
QString encodingText(const QString& line) {
    return u"データベースファイル形式が不正です\r\n%1\r\nこのファイルではプログラムを起動出来ません"_s
        .arg(line);
}
QString unknownText(int number, const QString& line) {
    return u"不明なエラーが発生しました\r\nエラー番号 %1\r\n%2"_s.arg(number).arg(line);
}

// What the folder holds, without following links or reading anything but regular files.
std::map<QString, QString> snapshot(const QString& folder) {
    std::map<QString, QString> entries;
    const QDir dir(folder);
    for (const QString& name :
         dir.entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot)) {
        const QByteArray path = QFile::encodeName(dir.filePath(name));
        struct stat st {};
        if (::lstat(path.constData(), &st) != 0) continue;
        QString state = u"%1 %2 %3.%4"_s.arg(st.st_mode)
                            .arg(st.st_size)
                            .arg(st.st_mtim.tv_sec)
                            .arg(st.st_mtim.tv_nsec);
        if (S_ISREG(st.st_mode) && st.st_size < (qint64(1) << 28)) {
            QFile file(dir.filePath(name));
            if (file.open(QIODevice::ReadOnly)) {
                state +=
                    u' ' +
                    QString::fromLatin1(
                        QCryptographicHash::hash(file.readAll(), QCryptographicHash::Sha1).toHex());
            }
        }
        entries[name] = state;
    }
    return entries;
}

struct BadInput {
    const char* what;
    const char* file;  // the sample file it replaces
    // Puts the damage in place; returns false to skip (what it needs is not there).
    std::function<bool(const QString& path)> make;
    QString title;  // empty: the start succeeds without a message
    std::function<QString()> text;
};

// names the case in test listings instead of its bytes
void PrintTo(const BadInput& input, std::ostream* out) {
    *out << input.what;
}

bool writeAll(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
           file.write(bytes) == bytes.size();
}
bool replaceWith(const QString& path, const QByteArray& bytes) {
    return QFile::remove(path) && writeAll(path, bytes);
}
bool linkTo(const QString& path, const QByteArray& target) {
    return QFile::remove(path) &&
           ::symlink(target.constData(), QFile::encodeName(path).constData()) == 0;
}

// emote lines with a tail of their own
QByteArray emote(const QByteArray& tail) {
    return "PORING,IDLE_ST,2\r\nLUNATIC,DEAD_ST,5\r\n" + tail;
}

const BadInput kBadInputs[] = {
    {"invalid bytes", "mob_emote_db.txt",
     [](const QString& p) { return replaceWith(p, emote("FABRE,\x85\x40,1\r\n")); }, kOpenError,
     [] {
         return encodingText(
             u"mob_emote_db.txt: Shift_JIS (コードページ932) として読めないバイトがあります（%1 バイト目）"_s
                 .arg(emote({}).size() + 7));
     }},
    {"a lone lead byte at the end", "mob_emote_db.txt",
     [](const QString& p) { return replaceWith(p, emote("FABRE,IDLE_ST,\x82")); }, kOpenError,
     [] {
         return encodingText(
             u"mob_emote_db.txt: Shift_JIS (コードページ932) として読めないバイトがあります（%1 バイト目）"_s
                 .arg(emote({}).size() + 15));
     }},
    {"an embedded NUL", "mob_emote_db.txt",
     [](const QString& p) {
         return replaceWith(p, emote(QByteArray("FA\0BRE,IDLE_ST,1\r\n", 18)));
     },
     kOpenError,
     [] {
         return encodingText(u"mob_emote_db.txt: NUL バイト (0x00) があります（%1 バイト目）"_s.arg(
             emote({}).size() + 3));
     }},
    {"a byte-order mark", "mob_emote_db.txt",
     [](const QString& p) { return replaceWith(p, "\xEF\xBB\xBF" + emote({})); }, kOpenError,
     [] {
         return encodingText(
             u"mob_emote_db.txt: UTF-8 で保存されたファイルのようです。Shift_JIS (コードページ932) で保存し直して下さい"_s);
     }},
    {"a UTF-8 file", "mob_emote_db.txt",
     [](const QString& p) { return replaceWith(p, emote(u"スライム,IDLE_ST,1\r\n"_s.toUtf8())); },
     kOpenError,
     [] {
         return encodingText(
             u"mob_emote_db.txt: UTF-8 で保存されたファイルのようです。Shift_JIS (コードページ932) で保存し直して下さい"_s);
     }},
    // bytes that are code page 932 as well load as what they spell there
    {"a UTF-8 file that also decodes",
     "mob_emote_db.txt",
     [](const QString& p) { return replaceWith(p, emote(u"ポリン,IDLE_ST,1\r\n"_s.toUtf8())); },
     {},
     {}},
    {"a 50 MB line with a bad byte at its end", "mob_emote_db.txt",
     [](const QString& p) {
         return replaceWith(p, emote("FABRE,IDLE_ST," + QByteArray(50 << 20, '7') + "\x85\x40"));
     },
     kOpenError,
     [] {
         return encodingText(
             u"mob_emote_db.txt: Shift_JIS (コードページ932) として読めないバイトがあります（%1 バイト目）"_s
                 .arg(emote({}).size() + 14 + (50 << 20) + 1));
     }},
    {"CR-only line ends",
     "mob_emote_db.txt",
     [](const QString& p) { return replaceWith(p, "PORING,IDLE_ST,2\rLUNATIC,DEAD_ST,5\r"); },
     {},
     {}},
    {"LF-only line ends",
     "mob_emote_db.txt",
     [](const QString& p) { return replaceWith(p, "PORING,IDLE_ST,2\nLUNATIC,DEAD_ST,5\n"); },
     {},
     {}},
    {"extra fields on a line", "mob_emote_db.txt",
     [](const QString& p) { return replaceWith(p, emote("FABRE,IDLE_ST,1,KAPPA,IDLE_ST,3\r\n")); },
     kOpenError,
     [] {
         // the message names the file, the line and what is wrong with it
         return formatText() +
                u"\r\nファイル: mob_emote_db.txt — 3 行目（3 件目のレコード）の項目数が 1 レコードの 3 項目と合いません"_s;
     }},
    {"a folder", "mob_mvp_db.txt",
     [](const QString& p) { return QFile::remove(p) && QDir().mkdir(p); }, kUnknownError,
     [] {
         return unknownText(75,
                            u"ファイル: mob_mvp_db.txt — 同じ名前のフォルダがあります（%1）"_s.arg(
                                system(EISDIR)));
     }},
    {"an unreadable file", "mob_mvp_db.txt",
     // the superuser reads whatever the permissions say
     [](const QString& p) { return ::geteuid() != 0 && QFile::setPermissions(p, {}); },
     kUnknownError,
     [] {
         return unknownText(75,
                            u"ファイル: mob_mvp_db.txt — 読み取りが許可されていません（%1）"_s.arg(
                                system(EACCES)));
     }},
    {"a missing link target", "mob_drop_db.txt",
     [](const QString& p) { return linkTo(p, "no_such_file.txt"); }, kUnknownError,
     [] {
         return unknownText(
             75, u"ファイル: mob_drop_db.txt — リンク先のファイルがありません（%1）"_s.arg(
                     system(ENOENT)));
     }},
    {"a link loop", "mob_drop_db.txt",
     [](const QString& p) { return linkTo(p, "mob_drop_db.txt"); }, kUnknownError,
     [] {
         return unknownText(
             75, u"ファイル: mob_drop_db.txt — シンボリックリンクが循環しています（%1）"_s.arg(
                     system(ELOOP)));
     }},
    {"a FIFO", "summon_slave.txt",
     [](const QString& p) {
         return QFile::remove(p) && ::mkfifo(QFile::encodeName(p).constData(), 0644) == 0;
     },
     kUnknownError,
     [] {
         return unknownText(1006,
                            u"ファイル: summon_slave.txt — 通常のファイルではありません（FIFO）"_s);
     }},
    {"a device", "mob_stat_db.txt", [](const QString& p) { return linkTo(p, "/dev/zero"); },
     kUnknownError,
     [] {
         return unknownText(
             1006,
             u"ファイル: mob_stat_db.txt — 通常のファイルではありません（character device）"_s);
     }},
    {"a file over 1 GiB", "mob_drop_db.txt",
     // sparse: refused by its size before a byte of it is read
     [](const QString& p) {
         QFile file(p);
         return file.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
                file.resize((qint64(1) << 30) + 1);
     },
     kUnknownError,
     [] {
         return unknownText(
             1007,
             u"ファイル: mob_drop_db.txt — ファイルが大きすぎます（1073741825 バイト。上限は 1 GiB）"_s);
     }},
};

class BadInputs : public WindowFixture, public ::testing::WithParamInterface<BadInput> {};

}  // namespace

TEST_P(BadInputs, StartEndsWithItsMessageAndWritesNothing) {
    const BadInput& bad = GetParam();
    copySample();
    if (!bad.make(path(QString::fromLatin1(bad.file)))) GTEST_SKIP() << "cannot craft " << bad.what;
    const auto before = snapshot(dir.path());

    const MainWindow::StartResult result = start();
    if (bad.title.isEmpty()) {
        EXPECT_EQ(result, MainWindow::StartResult::Started);
        EXPECT_TRUE(messages.messages.empty());
    } else {
        EXPECT_EQ(result, MainWindow::StartResult::Failed);
        ASSERT_EQ(messages.messages.size(), 1u);
        EXPECT_TRUE(messages.messages[0].isWarning);
        EXPECT_EQ(messages.messages[0].title, bad.title);
        EXPECT_EQ(messages.messages[0].text, bad.text()) << messages.messages[0].text.toStdString();
    }
    window.reset();
    EXPECT_EQ(snapshot(dir.path()), before);
}

INSTANTIATE_TEST_SUITE_P(CraftedFolders, BadInputs, ::testing::ValuesIn(kBadInputs),
                         [](const ::testing::TestParamInfo<BadInput>& info) {
                             QString name = QString::fromLatin1(info.param.what);
                             for (QChar& c : name) {
                                 if (!c.isLetterOrNumber()) c = u'_';
                             }
                             return name.toStdString();
                         });

}  // namespace mdb::test
