#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QSignalBlocker>
#include <QStringDecoder>
#include <QTest>
#include <cerrno>
#include <map>

#include "WindowFixture.h"
#include "storage/FileIo.h"
#include "storage/RecordWriter.h"
#include "storage/StorageError.h"
#include "ui/controls/ListBox.h"
#include "ui/messages/StorageMessages.h"

using namespace Qt::StringLiterals;

namespace mdb::test {

namespace {

// In save order, so that "earlier" and "later" in a failed save can be checked by index.
const QStringList kSaveOrder{u"mob_stat_db.txt"_s,  u"mob_drop_db.txt"_s,  u"mob_mvp_db.txt"_s,
                             u"mob_emote_db.txt"_s, u"mob_morph_db.txt"_s, u"summon_monster.txt"_s,
                             u"summon_slave.txt"_s};

QString decode(const QByteArray& bytes) {
    QStringDecoder decoder("windows-31j", QStringConverter::Flag::Stateless);
    QString text = decoder.decode(bytes);
    EXPECT_FALSE(decoder.hasError());
    return text;
}

// The same records written loosely, as a hand-edited file may be: a blank before every field,
// and display names without a comma left unquoted. The reader takes
// both back to the same values, and a save must keep them as they are.
QString loosened(const QString& text) {
    QString out;
    bool inQuotes = false;
    for (QChar c : text) {
        if (c == u'"') inQuotes = !inQuotes;
        out += c;
        if (c == u',' && !inQuotes) out += u"  "_s;
    }
    return out;
}

QString unquoteNamesWithoutComma(const QString& text) {
    static const QRegularExpression quoted(u",  \"([^\",]*)\","_s);
    return QString(text).replace(quoted, u",  \\1,"_s);
}

}  // namespace

class CommitAndSave : public WindowFixture {
protected:
    // The sample with every monster file loosened.
    void startOnLoosenedSample() {
        copySample();
        for (const QString& name : kSaveOrder) {
            const QByteArray normal = readBytes(name);
            QString text = loosened(decode(normal));
            if (name == kSaveOrder[0]) text = unquoteNamesWithoutComma(text);
            writeFile(name, text);
            EXPECT_NE(readBytes(name), normal) << name.toStdString();
        }
        EXPECT_EQ(start(), MainWindow::StartResult::Started);
    }

    std::map<QString, QByteArray> snapshot() const {
        std::map<QString, QByteArray> files;
        for (const QString& name : kSaveOrder) files[name] = readBytes(name);
        return files;
    }

    // Text0 can only be emptied or pushed out of range past its own Change handler.
    void setPositionSilently(const QString& text) {
        QLineEdit* position = control<QLineEdit>(u"Text0"_s);
        const QSignalBlocker blocker(position);
        position->setText(text);
    }
};

TEST_F(CommitAndSave, UpdateThenSaveChangesOnlyTheEditedFieldsOfLooseFiles) {
    startOnLoosenedSample();
    MainWindow& w = *window;
    const auto loose = snapshot();

    // nothing committed yet: the save cannot run, so the loose files stay as they are
    EXPECT_FALSE(action(u"MunFileSave"_s)->isEnabled());
    trigger(u"MunFileSave"_s);
    EXPECT_EQ(snapshot(), loose);

    // an update that stops at once on an empty position box still arms the save
    const QString oldHp = w.database().StatusTable.field(2, StatusField::Hp);
    control<QLineEdit>(u"Text1(2)"_s)->setText(u"999"_s);
    setPositionSilently(QString());
    click(u"Command1"_s);
    EXPECT_TRUE(action(u"MunFileSave"_s)->isEnabled());
    EXPECT_EQ(w.database().StatusTable.field(2, StatusField::Hp), oldHp);

    // positions that would reach the placeholder or past the table write nothing
    const QStringList placeholder = [&] {
        QStringList f;
        for (int i = 1; i <= StatusField::Width; ++i) f << w.database().StatusTable.field(1, i);
        return f;
    }();
    for (const QString& outside :
         {u"0"_s, u"-3"_s, QString::number(w.database().StatusTable.Count())}) {
        setPositionSilently(outside);
        trigger(u"mnuRenw"_s);
        for (int i = 1; i <= StatusField::Width; ++i) {
            EXPECT_EQ(w.database().StatusTable.field(1, i), placeholder[i - 1]) << i;
        }
        EXPECT_EQ(w.database().StatusTable.field(2, StatusField::Hp), oldHp);
    }

    // position 1 shows record 2; change it as the user would, the name box included
    control<QLineEdit>(u"Text0"_s)->setText(u"1"_s);
    QLineEdit* nameBox = control<QLineEdit>(u"Text2A"_s);
    const QString id = control<QLabel>(u"Label1"_s)->text();
    const QString name = nameBox->text();
    control<QLineEdit>(u"Text4"_s)->setText(u"沼河童,改"_s);
    control<QLineEdit>(u"Text1(2)"_s)->setText(u"4321"_s);
    control<QLineEdit>(u"Text1(25)"_s)->setText(u"77"_s);
    control<QLineEdit>(u"Text7"_s)->setText(u"137"_s);
    nameBox->setText(u"RENAMED"_s);
    trigger(u"mnuRenw"_s);
    nameBox->setText(name);  // back, so that the dependent lookup is as before the save

    trigger(u"MunFileSave"_s);
    EXPECT_TRUE(messages.messages.empty());

    // Only the edited fields change, in their normal form (the comma name quoted); every other
    // field keeps its loose bytes, and so does every other line and file.
    const QString statusName = kSaveOrder[0];
    QStringList lines = decode(loose.at(statusName)).split(u"\r\n"_s);
    QStringList fields = lines[1].split(u",  "_s);
    ASSERT_EQ(fields.size(), StatusField::Width);
    ASSERT_EQ(fields[0], id);
    ASSERT_EQ(fields[1], name);
    const std::map<int, QString> edited{{StatusField::DisplayName, u"\"沼河童,改\""_s},
                                        {StatusField::Hp, u"4321"_s},
                                        {StatusField::Mode, u"137"_s},
                                        {StatusField::DamageMotion, u"77"_s}};
    QString line = fields[0];
    for (int f = 2; f <= StatusField::Width; ++f) {
        const auto it = edited.find(f);
        line += it == edited.end() ? u",  "_s + fields[f - 1] : u","_s + it->second;
    }
    lines[1] = line;
    const QByteArray expectedStatus = QStringEncoder("windows-31j").encode(lines.join(u"\r\n"_s));
    EXPECT_EQ(readBytes(statusName), expectedStatus);
    for (const QString& name : kSaveOrder.mid(1)) {
        EXPECT_EQ(readBytes(name), loose.at(name)) << name.toStdString();
    }
    // the mirror lists keep the name they were filled with
    EXPECT_NE(control<ListBox>(u"List4"_s)->list(1), u"沼河童,改"_s);

    // saving stays possible and gives the same bytes again
    EXPECT_TRUE(action(u"MunFileSave"_s)->isEnabled());
    const auto first = snapshot();
    trigger(u"MunFileSave"_s);
    EXPECT_EQ(snapshot(), first);
    EXPECT_TRUE(messages.messages.empty());
}

TEST_F(CommitAndSave, EmptyTableGivesAnEmptyFileAndSaveAsStaysDead) {
    copySample();
    writeBytes(u"summon_monster.txt"_s, {});
    ASSERT_EQ(start(), MainWindow::StartResult::Started);
    ASSERT_EQ(window->database().SummonTable.Count(), 0);
    const QString stat = u"mob_stat_db.txt"_s;
    const QByteArray statBefore = readBytes(stat);

    control<QLineEdit>(u"Text1(2)"_s)->setText(u"4444"_s);
    trigger(u"mnuRenw"_s);
    ASSERT_TRUE(action(u"MunFileSave"_s)->isEnabled());
    // save-as has no action, enabled or not, and its shortcut belongs to nothing else
    EXPECT_FALSE(action(u"mnuFileSaveAsItem"_s)->isEnabled());
    trigger(u"mnuFileSaveAsItem"_s);
    action(u"mnuFileSaveAsItem"_s)->setEnabled(true);
    trigger(u"mnuFileSaveAsItem"_s);
    action(u"mnuFileSaveAsItem"_s)->setEnabled(false);
    EXPECT_EQ(readBytes(stat), statBefore);

    // the save must create the file of an empty table, not skip it
    ASSERT_TRUE(QFile::remove(path(u"summon_monster.txt"_s)));
    trigger(u"MunFileSave"_s);
    EXPECT_TRUE(messages.messages.empty());
    EXPECT_NE(readBytes(stat), statBefore);
    EXPECT_TRUE(QFileInfo(path(u"summon_monster.txt"_s)).isFile());
    EXPECT_EQ(readBytes(u"summon_monster.txt"_s).size(), 0);
}

TEST_F(CommitAndSave, ButtonNormalisesTheBoxBeingLeftWhileTheMenuCopiesItAsTyped) {
    startSample();
    MainWindow& w = *window;
    QLineEdit* hp = control<QLineEdit>(u"Text1(2)"_s);
    const qint32 record = 2;

    // the window system takes the focus from the box before the click arrives
    hp->setText(u"-7"_s);
    focusOut(hp);
    click(u"Command1"_s);
    EXPECT_EQ(w.database().StatusTable.field(record, StatusField::Hp), u"0"_s);
    EXPECT_EQ(button(u"Command1"_s)->focusPolicy() & Qt::ClickFocus, Qt::ClickFocus);

    hp->setText(QString());
    trigger(u"mnuRenw"_s);
    EXPECT_EQ(w.database().StatusTable.field(record, StatusField::Hp), QString());
    EXPECT_EQ(hp->text(), QString());

    // the same with a real mouse click on a shown window: the box loses the focus to the button
    w.show();
    QApplication::setActiveWindow(&w);
    if (!QTest::qWaitForWindowActive(&w)) GTEST_SKIP() << "the platform gives no active window";
    hp->setFocus();
    ASSERT_TRUE(hp->hasFocus());
    hp->setText(u"  12 "_s);
    QTest::mouseClick(button(u"Command1"_s), Qt::LeftButton);
    EXPECT_TRUE(button(u"Command1"_s)->hasFocus());
    EXPECT_EQ(hp->text(), u"12"_s);
    EXPECT_EQ(w.database().StatusTable.field(record, StatusField::Hp), u"12"_s);
}

TEST_F(CommitAndSave, RefusedValuesWriteNoFileAndNameMonsterFieldAndCharacter) {
    startSample();
    MainWindow& w = *window;
    const auto before = snapshot();
    const QString id = control<QLabel>(u"Label1"_s)->text();
    const QString name = control<QLineEdit>(u"Text2A"_s)->text();

    struct Case {
        QString displayName;
        QString character;
        QString codePoint;
    };
    for (const Case& c :
         {Case{u"笑😀顔"_s, u"😀"_s, u"U+1F600"_s}, Case{u"한"_s, u"한"_s, u"U+D55C"_s},
          Case{u"引用\"符"_s, u"\""_s, u"U+0022"_s}}) {
        messages.messages.clear();
        control<QLineEdit>(u"Text4"_s)->setText(c.displayName);
        trigger(u"mnuRenw"_s);
        trigger(u"MunFileSave"_s);
        ASSERT_EQ(messages.messages.size(), 1u) << c.codePoint.toStdString();
        const auto& m = messages.messages[0];
        EXPECT_TRUE(m.isWarning);
        EXPECT_EQ(m.title, u"保存エラー"_s);
        for (const QString& part : {id, name, u"DisplayName"_s, c.character, c.codePoint}) {
            EXPECT_TRUE(m.text.contains(part))
                << m.text.toStdString() << " lacks " << part.toStdString();
        }
        EXPECT_EQ(snapshot(), before);
    }

    // a NUL pasted into the display name: the reader would refuse the whole file
    QLineEdit* displayName = control<QLineEdit>(u"Text4"_s);
    QApplication::clipboard()->setText(u"夜\0叉"_s);
    displayName->setFocus();
    displayName->selectAll();
    QTest::keyClick(displayName, Qt::Key_V, Qt::ControlModifier);
    ASSERT_EQ(displayName->text(), u"夜\0叉"_s) << "the paste did not reach the box";
    messages.messages.clear();
    trigger(u"mnuRenw"_s);
    trigger(u"MunFileSave"_s);
    ASSERT_EQ(messages.messages.size(), 1u);
    for (const QString& part : {id, u"DisplayName"_s, u"U+0000"_s, u"制御文字"_s}) {
        EXPECT_TRUE(messages.messages[0].text.contains(part))
            << messages.messages[0].text.toStdString() << " lacks " << part.toStdString();
    }
    EXPECT_EQ(snapshot(), before);

    // a dependent table is named by the monster key of its record and by its file
    control<QLineEdit>(u"Text4"_s)->setText(u"沼河童"_s);
    trigger(u"mnuRenw"_s);
    Table& drops = w.database().DropTable;
    ASSERT_GE(drops.Count(), 2);
    ASSERT_TRUE(drops.setField(2, 2, u"50한1"_s));
    messages.messages.clear();
    trigger(u"MunFileSave"_s);
    ASSERT_EQ(messages.messages.size(), 1u);
    for (const QString& part :
         {drops.field(2, 1), u"mob_drop_db.txt"_s, drops.fieldNames()[1], u"U+D55C"_s}) {
        EXPECT_TRUE(messages.messages[0].text.contains(part)) << part.toStdString();
    }
    EXPECT_EQ(snapshot(), before);
}

TEST_F(CommitAndSave, UnwritableFileKeepsItAndTheLaterFilesAndIsReported) {
    startOnLoosenedSample();
    const auto loose = snapshot();
    const int failing = 2;  // mob_mvp_db.txt
    ASSERT_TRUE(QFile::remove(path(kSaveOrder[failing])));
    ASSERT_TRUE(QDir(dir.path()).mkdir(kSaveOrder[failing]));
    const QStringList filesBefore = QDir(dir.path()).entryList(QDir::Files | QDir::Hidden);

    control<QLineEdit>(u"Text1(2)"_s)->setText(u"5555"_s);
    trigger(u"mnuRenw"_s);
    trigger(u"MunFileSave"_s);

    ASSERT_EQ(messages.messages.size(), 1u);
    const auto& m = messages.messages[0];
    EXPECT_TRUE(m.isWarning);
    EXPECT_TRUE(m.text.contains(kSaveOrder[failing])) << m.text.toStdString();
    EXPECT_TRUE(m.text.contains(u"同じ名前のフォルダがあります"_s)) << m.text.toStdString();
    EXPECT_TRUE(m.text.contains(u"保存済みのファイル: mob_stat_db.txt, mob_drop_db.txt"_s));
    EXPECT_TRUE(m.text.contains(u"元の内容のままのファイル: mob_mvp_db.txt, mob_emote_db.txt"_s));
    EXPECT_TRUE(decode(readBytes(kSaveOrder[0])).contains(u",5555,"_s));
    EXPECT_EQ(readBytes(kSaveOrder[1]), loose.at(kSaveOrder[1]));
    EXPECT_TRUE(QFileInfo(path(kSaveOrder[failing])).isDir());
    for (int i = failing + 1; i < kSaveOrder.size(); ++i) {
        EXPECT_EQ(readBytes(kSaveOrder[i]), loose.at(kSaveOrder[i])) << kSaveOrder[i].toStdString();
    }
    // no temporary file is left beside the databases
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), filesBefore);
}

TEST_F(CommitAndSave, FullDiskAndClosedFolderAreReportedWithTheirRealCause) {
    copySample();
    // A value the editors cannot produce, read from the file: it must not stand in the way.
    QString stat = decode(readBytes(kSaveOrder[0]));
    QStringList lines = stat.split(u"\r\n"_s);
    QStringList third = lines[2].split(u',');
    third[StatusField::Name - 1] = u"\""_s + third[StatusField::Name - 1] + u",改\""_s;
    lines[2] = third.join(u',');
    writeFile(kSaveOrder[0], lines.join(u"\r\n"_s));
    ASSERT_EQ(start(), MainWindow::StartResult::Started);
    MainWindow& w = *window;
    const auto before = snapshot();
    control<QLineEdit>(u"Text1(2)"_s)->setText(u"6543"_s);
    trigger(u"mnuRenw"_s);

    // The disk fills up in the middle of the first file: nothing is replaced.
    {
        int writes = 0;
        const auto previous = fileio::setFaultHook(
            [&](fileio::Op op) { return op == fileio::Op::Write && ++writes >= 1 ? ENOSPC : 0; });
        trigger(u"MunFileSave"_s);
        fileio::setFaultHook(previous);
    }
    ASSERT_EQ(messages.messages.size(), 1u);
    const QString text = messages.messages[0].text;
    EXPECT_EQ(messages.messages[0].title, u"保存エラー"_s);
    for (const QString& part :
         {kSaveOrder[0], u"ディスクの空き容量が足りません"_s, u"No space left on device"_s,
          u"保存済みのファイルはありません"_s, kSaveOrder.join(u", "_s)}) {
        EXPECT_TRUE(text.contains(part)) << text.toStdString() << " lacks " << part.toStdString();
    }
    EXPECT_EQ(snapshot(), before);
    EXPECT_EQ(w.database().StatusTable.field(2, StatusField::Hp), u"6543"_s);

    // A folder that takes no temporary file: the files are rewritten where they are.
    messages.messages.clear();
    auto closedFolder = [](bool fileToo) {
        return [fileToo](fileio::Op op) {
            return op == fileio::Op::OpenTemp || (fileToo && op == fileio::Op::Open) ? EACCES : 0;
        };
    };
    auto previous = fileio::setFaultHook(closedFolder(false));
    trigger(u"MunFileSave"_s);
    fileio::setFaultHook(previous);
    EXPECT_TRUE(messages.messages.empty());
    EXPECT_TRUE(decode(readBytes(kSaveOrder[0])).contains(u",6543,"_s));
    EXPECT_TRUE(decode(readBytes(kSaveOrder[0])).contains(third.join(u',')));
    for (const QString& name : kSaveOrder.mid(1)) EXPECT_EQ(readBytes(name), before.at(name));

    // ... and when the file cannot be opened either, both causes are named.
    previous = fileio::setFaultHook(closedFolder(true));
    trigger(u"MunFileSave"_s);
    fileio::setFaultHook(previous);
    ASSERT_EQ(messages.messages.size(), 1u);
    const QString both = messages.messages[0].text;
    EXPECT_TRUE(both.contains(u"一時ファイルを作れません"_s)) << both.toStdString();
    EXPECT_TRUE(both.contains(QDir::toNativeSeparators(dir.path()))) << both.toStdString();
    EXPECT_TRUE(both.contains(u"その場で書き換えることもできませんでした"_s));
    EXPECT_TRUE(both.contains(u"Permission denied"_s));
}

TEST_F(CommitAndSave, AppendFailuresNameTheFileAndWhatBecameOfIt) {
    const QString emote = u"mob_emote_db.txt"_s;
    const QStringList line{u"PORING"_s, u"IDLE_ST"_s, u"2"_s};
    writeBytes(emote, "PORING,IDLE_ST,\"2\r\n");  // an open quote at the end
    const auto refused = appendRecordLine(QDir(dir.path()), emote, line);
    ASSERT_TRUE(refused);
    const QString refusal = appendFailureText(*refused);
    EXPECT_TRUE(refusal.contains(emote) && refusal.contains(u"追加しませんでした"_s))
        << refusal.toStdString();

    writeBytes(emote, "PORING,IDLE_ST,2\r\n");
    std::optional<StorageError> failed;
    {
        const auto previous =
            fileio::setFaultHook([](fileio::Op op) { return op == fileio::Op::Sync ? EIO : 0; });
        failed = appendRecordLine(QDir(dir.path()), emote, line);
        fileio::setFaultHook(previous);
    }
    ASSERT_TRUE(failed);
    const QString text = appendFailureText(*failed);
    for (const QString& part : {emote, u"Input/output error"_s, u"元の内容のままです"_s}) {
        EXPECT_TRUE(text.contains(part)) << text.toStdString() << " lacks " << part.toStdString();
    }
    EXPECT_EQ(readBytes(emote), QByteArray("PORING,IDLE_ST,2\r\n"));
}

}  // namespace mdb::test
