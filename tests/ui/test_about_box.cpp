#include <QAction>
#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>
#include <map>

#include "WindowFixture.h"
#include "ui/about/AboutBox.h"
#include "ui/about/SystemInfo.h"

using namespace Qt::StringLiterals;

namespace mdb::test {

namespace {

const QString kNoSysInfo = u"現時点ではｼｽﾃﾑ情報を使用できません"_s;
const QString kInfoKey = u"SOFTWARE\\Microsoft\\Shared Tools\\MSINFO"_s;
const QString kLocationKey = u"SOFTWARE\\Microsoft\\Shared Tools Location"_s;

class FakeStore : public KeyValueStore {
public:
    std::optional<RawValue> query(Root, const QString& key,
                                  const QString& valueName) const override {
        const auto found = values.find(key + u'|' + valueName);
        if (found == values.end()) return std::nullopt;
        return found->second;
    }
    void setText(const QString& key, const QString& valueName, const QByteArray& bytes) {
        values[key + u'|' + valueName] = {TextType, bytes};
    }
    std::map<QString, RawValue> values;
};

class FakeLauncher : public ProgramLauncher {
public:
    bool start(const QString& program) override {
        started.append(program);
        return succeeds;
    }
    bool succeeds = true;
    QStringList started;
};

}  // namespace

class AboutBoxTest : public WindowFixture {
protected:
    // The about box is a window of its own, found among the top-level widgets by its name; the
    // count tells a box made anew from the one shown again.
    AboutBox* shownBox(int* boxes = nullptr) const {
        AboutBox* found = nullptr;
        int count = 0;
        for (QWidget* top : QApplication::topLevelWidgets()) {
            if (auto* box = qobject_cast<AboutBox*>(top);
                box && box->objectName() == u"frmAbout"_s) {
                found = box;
                ++count;
            }
        }
        if (boxes) *boxes = count;
        return found;
    }
};

TEST_F(AboutBoxTest, F12OpensTheModalBoxWhichShowsTheVersionAndClosesWithOk) {
    startSample();
    trigger(u"mnuHelpAbout"_s);
    AboutBox* box = shownBox();
    ASSERT_NE(box, nullptr);
    EXPECT_TRUE(box->isVisible());
    EXPECT_EQ(box->windowModality(), Qt::ApplicationModal);
    EXPECT_EQ(box->windowTitle(), u"Tornak MonsterDatabase Editor IIのﾊﾞｰｼﾞｮﾝ情報"_s);
    EXPECT_EQ(box->lblTitle->text(), u"Tornak MonsterDatabase Editor II"_s);
    EXPECT_EQ(box->lblVersion->text(), u"Version 2.05.0083"_s);
    EXPECT_EQ(box->Label1->text(), u"最終更新日　2005年5月2日"_s);
    EXPECT_TRUE(box->lblDescription->text().contains(u"2004年12月16日作成"_s));
    EXPECT_TRUE(box->lblDescription->text().contains(u"2005年4月15日更新"_s));
    EXPECT_FALSE(box->picIcon->pixmap().isNull());
    EXPECT_EQ(box->cmdSysInfo->text(), u"ｼｽﾃﾑ情報(&S)..."_s);
    // a window of its own: the main window's Label1 is still the one found by name
    EXPECT_NE(window->findChild<QLabel*>(u"Label1"_s), box->Label1);

    // no system-information program here: one notice, and the box stays open
    box->cmdSysInfo->click();
    ASSERT_EQ(messages.messages.size(), 1u);
    EXPECT_FALSE(messages.messages[0].isWarning);
    EXPECT_EQ(messages.messages[0].text, kNoSysInfo);
    EXPECT_TRUE(box->isVisible());

    box->cmdOK->click();
    EXPECT_FALSE(box->isVisible());
    trigger(u"mnuHelpAbout"_s);
    int boxes = 0;
    EXPECT_EQ(shownBox(&boxes), box);
    EXPECT_EQ(boxes, 1);
    EXPECT_TRUE(box->isVisible());
    box->cmdOK->click();
}

TEST(SystemInfo, StartsTheProgramTheStoreNamesOrTellsThereIsNone) {
    RecordingMessageSink messages;
    FakeStore store;
    FakeLauncher launcher;

    // the program's path, stored with its closing NUL
    store.setText(kInfoKey, u"PATH"_s, QByteArrayLiteral("C:\\msinfo32.exe\0"));
    StartSysInfo(store, launcher, messages);
    EXPECT_EQ(launcher.started, QStringList{u"C:\\msinfo32.exe"_s});
    EXPECT_TRUE(messages.messages.empty());

    // a named program that does not start is reported; the folder entry is not tried then
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    QFile program(folder.filePath(u"MSINFO32.EXE"_s));
    ASSERT_TRUE(program.open(QIODevice::WriteOnly));
    program.close();
    store.setText(kLocationKey, u"MSINFO"_s, folder.path().toUtf8());
    launcher.succeeds = false;
    launcher.started.clear();
    StartSysInfo(store, launcher, messages);
    EXPECT_EQ(launcher.started.size(), 1);
    ASSERT_EQ(messages.messages.size(), 1u);
    EXPECT_EQ(messages.messages[0].text, kNoSysInfo);

    // without the path, the program in the named folder is started
    store.values.erase(kInfoKey + u"|PATH"_s);
    launcher.succeeds = true;
    launcher.started.clear();
    StartSysInfo(store, launcher, messages);
    EXPECT_EQ(launcher.started, QStringList{program.fileName()});
    EXPECT_EQ(messages.messages.size(), 1u);

    // a folder without the program starts nothing
    ASSERT_TRUE(program.remove());
    launcher.started.clear();
    StartSysInfo(store, launcher, messages);
    EXPECT_TRUE(launcher.started.isEmpty());
    ASSERT_EQ(messages.messages.size(), 2u);
    EXPECT_EQ(messages.messages[1].text, kNoSysInfo);
}

TEST(SystemInfo, KeyValuesAsText) {
    FakeStore store;
    const auto root = KeyValueStore::Root::LocalMachine;
    EXPECT_EQ(GetKeyValue(store, root, u"K"_s, u"V"_s), std::nullopt);

    // text in code page 932 ("ｼｽﾃﾑ" in half-width kana), without its closing NUL
    store.setText(u"K"_s, u"V"_s, QByteArrayLiteral("\xbc\xbd\xc3\xd1\0"));
    EXPECT_EQ(GetKeyValue(store, root, u"K"_s, u"V"_s), u"ｼｽﾃﾑ"_s);

    // a 32-bit number, lowest byte first; a byte below 0x10 keeps its place
    store.values[u"K|N"_s] = {KeyValueStore::NumberType, QByteArrayLiteral("\x0a\x01\x00\x00")};
    EXPECT_EQ(GetKeyValue(store, root, u"K"_s, u"N"_s), u"266"_s);
    store.values[u"K|N"_s] = {KeyValueStore::NumberType, QByteArrayLiteral("\xff\xff\xff\xff")};
    EXPECT_EQ(GetKeyValue(store, root, u"K"_s, u"N"_s), u"4294967295"_s);
}

}  // namespace mdb::test
