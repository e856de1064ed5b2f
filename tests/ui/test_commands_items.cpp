#include <errno.h>
#include <string.h>

#include <QAction>
#include <QComboBox>
#include <QPushButton>
#include <QSignalSpy>
#include <QStringDecoder>
#include <memory>
#include <vector>

#include "WindowFixture.h"
#include "storage/StorageError.h"
#include "ui/controls/HiddenList.h"
#include "ui/controls/Widgets.h"

using namespace Qt::StringLiterals;

namespace mdb::test {

namespace {

const QString kClearRow = u"設 定 解 除"_s;
const QString kOpenError = u"ファイルオープンエラー"_s;
const QString kMissingText =
    u"読み込みに必要なアイテムデータベースファイルが見つかりません\r\n"
    u"必要なデータベース全てを実行フォルダへ用意して下さい"_s;
const QString kFormatText =
    u"データベースファイル形式が不正です\r\n"
    u"空白行や//で始まる行、または未入力項目や適正値超過・入力列超過\r\n"
    u"などが データベース内に存在すると読み込み出来ません"_s;
const QStringList kItemFiles{u"item_consume_db.txt"_s, u"item_drop_db.txt"_s,
                             u"item_equip_db.txt"_s};

struct Item {
    QString id;
    QString name;
};

}  // namespace

class ItemLoad : public WindowFixture {
protected:
    // IDs and names straight from a file's lines; the sample keeps quotes out of the first
    // three fields, so a plain split is enough to know what the lists must hold.
    std::vector<Item> itemsOf(const QString& fileName) const {
        QStringDecoder decoder("windows-31j", QStringConverter::Flag::Stateless);
        const QString text = decoder.decode(readBytes(fileName));
        std::vector<Item> items;
        for (const QString& line : text.split(u"\r\n"_s, Qt::SkipEmptyParts)) {
            const QStringList fields = line.split(u',');
            items.push_back({fields[0], fields[2]});
        }
        return items;
    }

    std::vector<HiddenList*> idLists() const {
        std::vector<HiddenList*> lists;
        for (int i = 0; i < 8; ++i) lists.push_back(control<HiddenList>(indexed(u"List2"_s, i)));
        for (int i = 0; i < 5; ++i) lists.push_back(control<HiddenList>(indexed(u"List8"_s, i)));
        return lists;
    }
    std::vector<QComboBox*> nameCombos() const {
        std::vector<QComboBox*> combos;
        for (int i = 0; i < 8; ++i) combos.push_back(control<QComboBox>(indexed(u"Combo1"_s, i)));
        for (int i = 0; i < 5; ++i) combos.push_back(control<QComboBox>(indexed(u"Combo8"_s, i)));
        return combos;
    }

    // Every ID list and name drop-down holds the clear row and then `items`, row for row.
    void expectRows(const std::vector<Item>& items) const {
        for (HiddenList* ids : idLists()) {
            ASSERT_EQ(ids->listCount(), int(items.size()) + 1) << ids->objectName().toStdString();
            EXPECT_EQ(ids->list(0), u"0"_s);
            for (size_t i = 0; i < items.size(); ++i) {
                ASSERT_EQ(ids->list(int(i) + 1), items[i].id) << i;
            }
        }
        for (QComboBox* names : nameCombos()) {
            ASSERT_EQ(names->count(), int(items.size()) + 1);
            EXPECT_EQ(names->itemText(0), kClearRow);
            for (size_t i = 0; i < items.size(); ++i) {
                ASSERT_EQ(names->itemText(int(i) + 1), items[i].name) << i;
            }
        }
    }

    std::vector<Item> sampleItems(const QStringList& files = kItemFiles) const {
        std::vector<Item> all;
        for (const QString& file : files) {
            const auto items = itemsOf(file);
            all.insert(all.end(), items.begin(), items.end());
        }
        return all;
    }

    void expectOneWarning(const QString& title, const QString& text) {
        ASSERT_EQ(messages.messages.size(), 1u);
        EXPECT_TRUE(messages.messages[0].isWarning);
        EXPECT_EQ(messages.messages[0].title, title);
        EXPECT_EQ(messages.messages[0].text, text);
    }
};

TEST_F(ItemLoad, ListsTheClearRowThenEveryItemInFileOrderWithoutTouchingAnySelection) {
    startSample();
    std::vector<std::unique_ptr<QSignalSpy>> clicks;
    for (QComboBox* combo : nameCombos()) {
        EXPECT_EQ(combo->count(), 0);
        clicks.push_back(std::make_unique<QSignalSpy>(combo, &QComboBox::currentIndexChanged));
    }
    const auto items = sampleItems();
    ASSERT_GT(items.size(), 30u);
    const QString shownName = control<QLineEdit>(u"Text4"_s)->text();
    const QString dropName = control<QLineEdit>(u"Text13"_s)->text();

    click(u"Command2"_s);
    EXPECT_TRUE(messages.messages.empty());
    expectRows(items);
    EXPECT_EQ(window->items().totalCount(), qint32(items.size()));
    for (size_t i = 0; i < clicks.size(); ++i) {
        EXPECT_EQ(clicks[i]->count(), 0) << i;
        EXPECT_EQ(nameCombos()[i]->currentIndex(), -1);
    }
    for (HiddenList* ids : idLists()) EXPECT_EQ(ids->listIndex(), -1);
    EXPECT_EQ(control<QLineEdit>(u"Text4"_s)->text(), shownName);
    EXPECT_EQ(control<QLineEdit>(u"Text13"_s)->text(), dropName);

    // a second load offers every item once more behind the first; a chosen row stays chosen
    QComboBox* chosen = nameCombos()[3];
    chosen->setCurrentIndex(5);
    const QString chosenName = chosen->currentText();
    for (auto& spy : clicks) spy->clear();
    trigger(u"mnuIdbLoad"_s);
    EXPECT_TRUE(messages.messages.empty());
    auto twice = items;
    twice.insert(twice.end(), items.begin(), items.end());
    expectRows(twice);
    for (auto& spy : clicks) EXPECT_EQ(spy->count(), 0);
    EXPECT_EQ(chosen->currentIndex(), 5);
    EXPECT_EQ(chosen->currentText(), chosenName);
}

TEST_F(ItemLoad, FailuresKeepTheRowsReadSoFarAndShowTheirMessage) {
    // the drop item file missing: consume items listed, equipment never read
    copySample();
    ASSERT_TRUE(QFile::remove(path(kItemFiles[1])));
    ASSERT_EQ(start(), MainWindow::StartResult::Started);
    click(u"Command2"_s);
    expectOneWarning(kOpenError, kMissingText);
    expectRows(itemsOf(kItemFiles[0]));
}

TEST_F(ItemLoad, BlankLastLineOfTheEquipmentFileListsEveryCompleteRecord) {
    copySample();
    writeBytes(kItemFiles[2], readBytes(kItemFiles[2]) + "\r\n");
    ASSERT_EQ(start(), MainWindow::StartResult::Started);
    trigger(u"mnuIdbLoad"_s);
    expectOneWarning(kOpenError, kFormatText);
    expectRows(sampleItems());
}

TEST_F(ItemLoad, EmptyFilesShiftOrEmptyTheListButTheClearRowStaysItsOwn) {
    copySample();
    writeBytes(kItemFiles[0], {});
    ASSERT_EQ(start(), MainWindow::StartResult::Started);
    const auto rest = sampleItems({kItemFiles[1], kItemFiles[2]});
    click(u"Command2"_s);
    EXPECT_TRUE(messages.messages.empty());
    expectRows(rest);
    EXPECT_EQ(idLists()[0]->list(1), itemsOf(kItemFiles[1]).front().id);

    // no item at all: only the clear row, and the user is told why the lists are empty
    window.reset();
    for (const QString& file : kItemFiles) writeBytes(file, {});
    ASSERT_EQ(start(), MainWindow::StartResult::Started);
    click(u"Command2"_s);
    expectRows({});
    ASSERT_EQ(messages.messages.size(), 1u);
    EXPECT_FALSE(messages.messages[0].isWarning);
    EXPECT_EQ(messages.messages[0].text, u"アイテムデータが１件も見つかりませんでした"_s);
}

TEST_F(ItemLoad, OtherFailuresNameTheirNumberOrTheFile) {
    // a folder in place of a file cannot be opened: a failure without a message of its own
    copySample();
    ASSERT_TRUE(QFile::remove(path(kItemFiles[2])));
    ASSERT_TRUE(QDir(dir.path()).mkdir(kItemFiles[2]));
    ASSERT_EQ(start(), MainWindow::StartResult::Started);
    click(u"Command2"_s);
    ASSERT_EQ(messages.messages.size(), 1u);
    EXPECT_EQ(messages.messages[0].title, u"不明なエラー"_s);
    EXPECT_EQ(
        messages.messages[0].text,
        u"不明なエラーが発生しました\r\nエラー番号 %1\r\nファイル: %2 — 同じ名前のフォルダがあります（%3）"_s
            .arg(errorNumber(ErrorKind::OpenFailed))
            .arg(kItemFiles[2], QString::fromLocal8Bit(strerror(EISDIR))));
    expectRows(sampleItems({kItemFiles[0], kItemFiles[1]}));

    // bytes that are not Shift_JIS: the message names the file to mend
    window.reset();
    messages.messages.clear();
    ASSERT_TRUE(QDir(dir.path()).rmdir(kItemFiles[2]));
    writeBytes(kItemFiles[2], QByteArray("1,A,\x85\xff,x\r\n"));
    ASSERT_EQ(start(), MainWindow::StartResult::Started);
    click(u"Command2"_s);
    ASSERT_EQ(messages.messages.size(), 1u);
    EXPECT_TRUE(messages.messages[0].isWarning);
    EXPECT_TRUE(messages.messages[0].text.contains(kItemFiles[2]));
    expectRows(sampleItems({kItemFiles[0], kItemFiles[1]}));
}

TEST_F(ItemLoad, HundredThousandItemsArriveInOneBatch) {
    copySample();
    const int perFile[] = {32000, 33000, 35000};
    const int widths[] = {12, 7, 21};
    for (int f = 0; f < 3; ++f) {
        QString text;
        for (int i = 0; i < perFile[f]; ++i) {
            const int id = 10000 + f * 100000 + i;
            QStringList fields{QString::number(id), u"ITEM_%1"_s.arg(id), u"道具%1"_s.arg(id)};
            while (fields.size() < widths[f]) fields << QString::number(i % 97);
            text += fields.join(u',') + u"\r\n"_s;
        }
        writeFile(kItemFiles[f], text);
    }
    ASSERT_EQ(start(), MainWindow::StartResult::Started);
    window->show();
    QSignalSpy rowsInserted(nameCombos()[0]->model(), &QAbstractItemModel::rowsInserted);

    click(u"Command2"_s);

    EXPECT_TRUE(messages.messages.empty());
    EXPECT_EQ(idLists()[12]->listCount(), 100001);
    EXPECT_EQ(nameCombos()[12]->itemText(100000), u"道具%1"_s.arg(10000 + 2 * 100000 + 34999));
    EXPECT_EQ(idLists()[0]->list(1), u"10000"_s);
    // the clear row and then all items: two inserts, never one per item
    EXPECT_EQ(rowsInserted.count(), 2);
}

}  // namespace mdb::test
