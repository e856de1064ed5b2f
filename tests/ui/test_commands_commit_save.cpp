#include <QAction>
#include <QApplication>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QSignalBlocker>
#include <QStringDecoder>
#include <QTest>
#include <map>

#include "WindowFixture.h"
#include "storage/StorageError.h"
#include "ui/status/StatusEditor.h"

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
// both back to the same values, so a save must give the sample's normal form again.
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
    // The sample with every monster file loosened; returns the sample's own bytes per file.
    std::map<QString, QByteArray> startOnLoosenedSample() {
        copySample();
        std::map<QString, QByteArray> normal;
        for (const QString& name : kSaveOrder) {
            normal[name] = readBytes(name);
            QString text = loosened(decode(normal[name]));
            if (name == kSaveOrder[0]) text = unquoteNamesWithoutComma(text);
            writeFile(name, text);
            EXPECT_NE(readBytes(name), normal[name]) << name.toStdString();
        }
        EXPECT_EQ(start(), MainWindow::StartResult::Started);
        return normal;
    }

    std::map<QString, QByteArray> snapshot() const {
        std::map<QString, QByteArray> files;
        for (const QString& name : kSaveOrder) files[name] = readBytes(name);
        return files;
    }

    // Text0 can only be emptied or pushed out of range past its own Change handler.
    void setPositionSilently(const QString& text) {
        const QSignalBlocker blocker(window->status->Text0);
        window->status->Text0->setText(text);
    }
};

TEST_F(CommitAndSave, UpdateThenSaveWritesTheShownMonsterAndEveryOtherLineInNormalForm) {
    auto normal = startOnLoosenedSample();
    MainWindow& w = *window;
    StatusEditor& s = *w.status;
    const auto loose = snapshot();

    // nothing committed yet: the save cannot run, so the loose files stay as they are
    EXPECT_FALSE(w.MunFileSave->isEnabled());
    w.MunFileSave->trigger();
    EXPECT_EQ(snapshot(), loose);

    // an update that stops at once on an empty position box still arms the save
    const QString oldHp = w.database().StatusTable.field(2, StatusField::Hp);
    s.Text1[2]->setText(u"999"_s);
    setPositionSilently(QString());
    w.Command1->click();
    EXPECT_TRUE(w.MunFileSave->isEnabled());
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
        w.mnuRenw->trigger();
        for (int i = 1; i <= StatusField::Width; ++i) {
            EXPECT_EQ(w.database().StatusTable.field(1, i), placeholder[i - 1]) << i;
        }
        EXPECT_EQ(w.database().StatusTable.field(2, StatusField::Hp), oldHp);
    }

    // position 1 shows record 2; change it as the user would, the name box included
    s.Text0->setText(u"1"_s);
    const QString id = s.Label1->text();
    const QString name = s.Text2A->text();
    s.Text4->setText(u"沼河童,改"_s);
    s.Text1[2]->setText(u"4321"_s);
    s.Text1[25]->setText(u"77"_s);
    s.Text7->setText(u"137"_s);
    s.Text2A->setText(u"RENAMED"_s);
    w.mnuRenw->trigger();
    s.Text2A->setText(name);  // back, so that the dependent lookup is as before the save

    w.MunFileSave->trigger();
    EXPECT_TRUE(messages.messages.empty());

    // the edited line as typed, the comma name quoted, Id and Name untouched
    QStringList fields = decode(normal[kSaveOrder[0]]).split(u"\r\n"_s)[1].split(u',');
    ASSERT_EQ(fields.size(), StatusField::Width);
    ASSERT_EQ(fields[0], id);
    ASSERT_EQ(fields[1], name);
    fields[StatusField::DisplayName - 1] = u"\"沼河童,改\""_s;
    fields[StatusField::Hp - 1] = u"4321"_s;
    fields[StatusField::Mode - 1] = u"137"_s;
    fields[StatusField::DamageMotion - 1] = u"77"_s;
    QStringList lines = decode(normal[kSaveOrder[0]]).split(u"\r\n"_s);
    lines[1] = fields.join(u',');
    const QByteArray expectedStatus = QStringEncoder("windows-31j").encode(lines.join(u"\r\n"_s));
    EXPECT_EQ(readBytes(kSaveOrder[0]), expectedStatus);
    for (const QString& name : kSaveOrder.mid(1)) {
        EXPECT_EQ(readBytes(name), normal[name]) << name.toStdString();
    }
    // the mirror lists keep the name they were filled with
    EXPECT_NE(s.List4->list(1), u"沼河童,改"_s);

    // saving stays possible and gives the same bytes again
    EXPECT_TRUE(w.MunFileSave->isEnabled());
    const auto first = snapshot();
    w.MunFileSave->trigger();
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

    window->status->Text1[2]->setText(u"4444"_s);
    window->mnuRenw->trigger();
    ASSERT_TRUE(window->MunFileSave->isEnabled());
    // save-as has no action, enabled or not, and its shortcut belongs to nothing else
    EXPECT_FALSE(window->mnuFileSaveAsItem->isEnabled());
    window->mnuFileSaveAsItem->trigger();
    window->mnuFileSaveAsItem->setEnabled(true);
    window->mnuFileSaveAsItem->trigger();
    window->mnuFileSaveAsItem->setEnabled(false);
    EXPECT_EQ(readBytes(stat), statBefore);

    // the save must create the file of an empty table, not skip it
    ASSERT_TRUE(QFile::remove(path(u"summon_monster.txt"_s)));
    window->MunFileSave->trigger();
    EXPECT_TRUE(messages.messages.empty());
    EXPECT_NE(readBytes(stat), statBefore);
    EXPECT_TRUE(QFileInfo(path(u"summon_monster.txt"_s)).isFile());
    EXPECT_EQ(readBytes(u"summon_monster.txt"_s).size(), 0);
}

TEST_F(CommitAndSave, ButtonNormalisesTheBoxBeingLeftWhileTheMenuCopiesItAsTyped) {
    startSample();
    MainWindow& w = *window;
    QLineEdit* hp = w.status->Text1[2];
    const qint32 record = 2;

    // the window system takes the focus from the box before the click arrives
    hp->setText(u"-7"_s);
    focusOut(hp);
    w.Command1->click();
    EXPECT_EQ(w.database().StatusTable.field(record, StatusField::Hp), u"0"_s);
    EXPECT_EQ(w.Command1->focusPolicy() & Qt::ClickFocus, Qt::ClickFocus);

    hp->setText(QString());
    w.mnuRenw->trigger();
    EXPECT_EQ(w.database().StatusTable.field(record, StatusField::Hp), QString());
    EXPECT_EQ(hp->text(), QString());

    // the same with a real mouse click on a shown window: the box loses the focus to the button
    w.show();
    QApplication::setActiveWindow(&w);
    if (!QTest::qWaitForWindowActive(&w)) GTEST_SKIP() << "the platform gives no active window";
    hp->setFocus();
    ASSERT_TRUE(hp->hasFocus());
    hp->setText(u"  12 "_s);
    QTest::mouseClick(w.Command1, Qt::LeftButton);
    EXPECT_TRUE(w.Command1->hasFocus());
    EXPECT_EQ(hp->text(), u"12"_s);
    EXPECT_EQ(w.database().StatusTable.field(record, StatusField::Hp), u"12"_s);
}

TEST_F(CommitAndSave, RefusedValuesWriteNoFileAndNameMonsterFieldAndCharacter) {
    startSample();
    MainWindow& w = *window;
    const auto before = snapshot();
    const QString id = w.status->Label1->text();
    const QString name = w.status->Text2A->text();

    struct Case {
        QString displayName;
        QString character;
        QString codePoint;
    };
    for (const Case& c :
         {Case{u"笑😀顔"_s, u"😀"_s, u"U+1F600"_s}, Case{u"한"_s, u"한"_s, u"U+D55C"_s},
          Case{u"引用\"符"_s, u"\""_s, u"U+0022"_s}}) {
        messages.messages.clear();
        w.status->Text4->setText(c.displayName);
        w.mnuRenw->trigger();
        w.MunFileSave->trigger();
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

    // a dependent table is named by the monster key of its record and by its file
    w.status->Text4->setText(u"沼河童"_s);
    w.mnuRenw->trigger();
    Table& drops = w.database().DropTable;
    ASSERT_GE(drops.Count(), 2);
    ASSERT_TRUE(drops.setField(2, 2, u"50한1"_s));
    messages.messages.clear();
    w.MunFileSave->trigger();
    ASSERT_EQ(messages.messages.size(), 1u);
    for (const QString& part :
         {drops.field(2, 1), u"mob_drop_db.txt"_s, drops.fieldNames()[1], u"U+D55C"_s}) {
        EXPECT_TRUE(messages.messages[0].text.contains(part)) << part.toStdString();
    }
    EXPECT_EQ(snapshot(), before);
}

TEST_F(CommitAndSave, UnwritableFileKeepsItAndTheLaterFilesAndIsReported) {
    auto normal = startOnLoosenedSample();
    const auto loose = snapshot();
    const int failing = 2;  // mob_mvp_db.txt
    ASSERT_TRUE(QFile::remove(path(kSaveOrder[failing])));
    ASSERT_TRUE(QDir(dir.path()).mkdir(kSaveOrder[failing]));
    const QStringList filesBefore = QDir(dir.path()).entryList(QDir::Files | QDir::Hidden);

    window->status->Text1[2]->setText(u"5555"_s);
    window->mnuRenw->trigger();
    window->MunFileSave->trigger();

    ASSERT_EQ(messages.messages.size(), 1u);
    const auto& m = messages.messages[0];
    EXPECT_TRUE(m.isWarning);
    EXPECT_TRUE(m.text.contains(kSaveOrder[failing])) << m.text.toStdString();
    EXPECT_TRUE(m.text.contains(u"理由"_s));
    EXPECT_TRUE(decode(readBytes(kSaveOrder[0])).contains(u",5555,"_s));
    EXPECT_EQ(readBytes(kSaveOrder[1]), normal[kSaveOrder[1]]);
    EXPECT_TRUE(QFileInfo(path(kSaveOrder[failing])).isDir());
    for (int i = failing + 1; i < kSaveOrder.size(); ++i) {
        EXPECT_EQ(readBytes(kSaveOrder[i]), loose.at(kSaveOrder[i])) << kSaveOrder[i].toStdString();
    }
    // no temporary file is left beside the databases
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), filesBefore);
}

}  // namespace mdb::test
