// What the user sees of the feedback, by the pixels it changes: the status bar's messages
// beside the folder, the tint of edits not yet updated, the name list's highlight. Run at scale
// 1 and again at scale 2 (QT_SCALE_FACTOR).
#include <QAction>
#include <QApplication>
#include <QImage>
#include <QLabel>
#include <QListView>
#include <QStatusBar>
#include <algorithm>

#include "EditorFixture.h"
#include "ui/commands/StatusLine.h"
#include "ui/controls/EditMarks.h"

using namespace Qt::StringLiterals;

namespace mdb::test {

namespace {

// How many pixels of `a` differ from `b` inside `area` (in logical pixels).
int differingPixels(const QImage& a, const QImage& b, const QRect& area) {
    const qreal ratio = a.devicePixelRatio();
    const QRect device(area.topLeft() * ratio, area.size() * ratio);
    int count = 0;
    for (int y = device.top(); y <= device.bottom() && y < a.height(); ++y) {
        for (int x = device.left(); x <= device.right() && x < a.width(); ++x) {
            if (a.pixel(x, y) != b.pixel(x, y)) ++count;
        }
    }
    return count;
}

}  // namespace

class DrawnFeedbackTest : public EditorFixture {
protected:
    QImage drawn(QWidget* widget) {
        QCoreApplication::processEvents();
        return widget->grab().toImage();
    }
    QImage bar() { return drawn(window->statusBar()); }
    QString message() const { return control<StatusLine>(u"statusLine"_s)->message(); }
    // The part of the bar where a message `text` long is drawn: from the left, as wide as the
    // text in the bar's font.
    QRect messageArea(const QString& text) const {
        const QWidget* line = control<QWidget>(u"statusLine"_s);
        const QPoint origin = line->mapTo(window->statusBar(), QPoint(0, 0));
        return {origin, QSize(line->fontMetrics().horizontalAdvance(text), line->height())};
    }
    // The colour drawn inside a box near its right edge, clear of its text.
    QColor inside(QWidget* box) {
        const QImage image = drawn(box);
        const qreal ratio = image.devicePixelRatio();
        return image.pixelColor(int((box->width() - 5) * ratio), int(box->height() / 2 * ratio));
    }
};

// Every message is drawn, beside the folder, and goes when it stops being true.
TEST_F(DrawnFeedbackTest, TheStatusBarDrawsEachMessageAndClearsStaleOnes) {
    startSample();
    window->show();
    const QImage empty = bar();
    ASSERT_EQ(message(), QString());

    // a failed search is drawn where the bar was blank, the folder still beside it
    control<QLineEdit>(u"Text9"_s)->setText(u"99999"_s);
    const QString notFound = u"ID検索: ID「99999」のモンスターはいません"_s;
    ASSERT_EQ(message(), notFound);
    const QImage failed = bar();
    EXPECT_GT(differingPixels(empty, failed, messageArea(notFound)), 20);
    const auto* folder = control<QLabel>(u"statusFolder"_s);
    EXPECT_TRUE(folder->text().startsWith(u"フォルダ: "_s)) << folder->text().toStdString();
    EXPECT_TRUE(folder->isVisible());
    EXPECT_GE(folder->x(), messageArea(notFound).right());

    // a later search that finds its monster takes the untrue message away: the bar is as blank
    // as at the start
    control<QLineEdit>(u"Text9"_s)->setText(u"1002"_s);
    EXPECT_EQ(message(), QString());
    EXPECT_EQ(differingPixels(empty, bar(), empty.rect()), 0);

    // an update, then its undo: each is drawn, and they differ from each other
    typeInto(u"Text1(2)"_s, u"777"_s);
    trigger(u"mnuRenw"_s);
    const QString updated = message();
    EXPECT_TRUE(updated.startsWith(u"更新しました: "_s)) << updated.toStdString();
    const QImage afterUpdate = bar();
    EXPECT_GT(differingPixels(empty, afterUpdate, messageArea(updated)), 20);
    trigger(u"mnuUndo"_s);
    EXPECT_EQ(message(), u"元に戻しました: 河童,大将 (KAPPA_KING)"_s);
    EXPECT_GT(differingPixels(afterUpdate, bar(), messageArea(updated)), 20);
    trigger(u"mnuRedo"_s);
    EXPECT_EQ(message(), u"やり直しました: 河童,大将 (KAPPA_KING)"_s);

    // a save the user calls off says so rather than leave "updated" standing
    QFile stat(path(u"mob_stat_db.txt"_s));
    ASSERT_TRUE(stat.open(QIODevice::Append));
    stat.write("\r\n");
    stat.close();
    messages.choices = {1};
    trigger(u"MunFileSave"_s);
    EXPECT_EQ(message(), u"上書き保存を取りやめました（ファイルは書き換えていません）"_s);

    // a folder deeper than the bar is wide gives up its start; the message stays whole
    const QString deep = u"/"_s + QString(300, u'd');
    StatusLine line(deep);
    line.resize(window->statusBar()->width(), 30);
    line.setMessage(updated);
    const auto* shownMessage = line.findChild<QLabel*>(u"statusMessage"_s);
    const auto* shownFolder = line.findChild<QLabel*>(u"statusFolder"_s);
    EXPECT_EQ(shownMessage->text(), updated);
    EXPECT_GE(shownMessage->width(), line.fontMetrics().horizontalAdvance(updated));
    EXPECT_TRUE(shownFolder->text().contains(u"…"_s)) << shownFolder->text().toStdString();
    EXPECT_LE(shownFolder->geometry().right(), line.width());
    EXPECT_GE(shownFolder->x(), shownMessage->geometry().right());
}

// The item load's message names each file's own count, and is drawn whole: three files of three
// sizes, so that no count can stand in for another.
TEST_F(DrawnFeedbackTest, TheItemLoadDrawsEachFilesOwnCount) {
    copySample();
    const auto records = [this](const QString& fileName) {
        int count = 0;
        for (const QByteArray& line : readBytes(fileName).split('\n')) {
            count += !line.isEmpty() && line.at(0) >= '0' && line.at(0) <= '9';
        }
        return count;
    };
    // the consumables grow by one more line than the largest other file holds
    const QString consumeFile = u"item_consume_db.txt"_s;
    const QByteArray consume = readBytes(consumeFile);
    const QByteArray first = consume.left(consume.indexOf('\n') + 1);
    const int firstId = first.left(first.indexOf(',')).toInt();
    QByteArray grown = consume;
    const int extra = std::max(records(u"item_drop_db.txt"_s), records(u"item_equip_db.txt"_s)) -
                      records(consumeFile) + 1;
    for (int i = 1; i <= extra; ++i) {
        grown += QByteArray::number(90000 + i) + first.mid(first.indexOf(','));
    }
    writeBytes(consumeFile, grown);
    ASSERT_GT(firstId, 0);
    const QList<int> counts{records(consumeFile), records(u"item_drop_db.txt"_s),
                            records(u"item_equip_db.txt"_s)};
    ASSERT_NE(counts[0], counts[1]);
    ASSERT_NE(counts[0], counts[2]);
    ASSERT_NE(counts[1], counts[2]);
    ASSERT_EQ(start(), MainWindow::StartResult::Started);
    window->show();
    const QImage before = bar();

    click(u"Command2"_s);
    ASSERT_TRUE(messages.messages.empty());
    const QString expected =
        u"アイテムDBを読み込みました: 消耗品 %1 件、ドロップ %2 件、装備 %3 件（計 %4 件）"_s
            .arg(counts[0])
            .arg(counts[1])
            .arg(counts[2])
            .arg(counts[0] + counts[1] + counts[2]);
    // the text the bar paints is its message label's, whole and with the room it needs
    const QImage after = bar();
    const auto* painted = control<QLabel>(u"statusMessage"_s);
    EXPECT_EQ(painted->text(), expected);
    EXPECT_TRUE(painted->isVisible());
    EXPECT_GE(painted->width(), painted->fontMetrics().horizontalAdvance(expected));
    EXPECT_GT(differingPixels(before, after, messageArea(expected)), 20);
}

// Undoing an update draws every editor as it was before the edits, the dependent editors as
// much as the status form.
TEST_F(DrawnFeedbackTest, UndoRedrawsEveryEditorAsBeforeTheUpdate) {
    startSample();
    window->show();
    trigger(u"mnuMenu2"_s);  // every frame in view and usable
    show(u"KAPPA_KING"_s);
    std::vector<QWidget*> frames{control<QWidget>(u"Frame1"_s)};
    for (const EditorRegistry::Entry& entry : window->editors().entries()) {
        frames.push_back(entry.editor->frame());
    }
    std::vector<QImage> before;
    for (QWidget* frame : frames) before.push_back(drawn(frame));

    // one value in the status form and in each editor that shows a record of KAPPA_KING
    const std::vector<std::pair<QString, QString>> edits{{u"Text1(2)"_s, u"4321"_s},
                                                         {u"Text6(1)"_s, u"1234"_s},
                                                         {u"Text8(0)"_s, u"777"_s},
                                                         {u"Text14"_s, u"7"_s},
                                                         {u"Text11"_s, u"3"_s}};
    for (const auto& [box, value] : edits) {
        ASSERT_NE(text(box), value) << box.toStdString();
        typeInto(box, value);
        ASSERT_EQ(text(box), value) << box.toStdString();
    }
    trigger(u"mnuRenw"_s);
    ASSERT_TRUE(action(u"mnuUndo"_s)->isEnabled());
    trigger(u"mnuUndo"_s);
    for (size_t i = 0; i < frames.size(); ++i) {
        const QImage after = drawn(frames[i]);
        EXPECT_EQ(differingPixels(before[i], after, frames[i]->rect()), 0)
            << frames[i]->objectName().toStdString();
    }
}

// A box whose text is not yet updated is tinted; choosing another monster over it says which
// edits were dropped. Typing into the ID drop-down chooses nothing.
TEST_F(DrawnFeedbackTest, EditsNotYetUpdatedAreTintedAndNamedWhenDropped) {
    startSample();
    window->show();
    QLineEdit* hp = control<QLineEdit>(u"Text1(2)"_s);
    const QColor plain = inside(hp);
    ASSERT_NE(plain, EditMarks::tint());

    typeInto(u"Text1(2)"_s, u"4321"_s);
    EXPECT_EQ(inside(hp), EditMarks::tint());
    // the same text as the record's is no edit
    typeInto(u"Text1(2)"_s, window->database().StatusTable.field(2, StatusField::Hp));
    EXPECT_EQ(inside(hp), plain);
    typeInto(u"Text1(2)"_s, u"4321"_s);
    // an update takes the mark away
    trigger(u"mnuRenw"_s);
    EXPECT_EQ(inside(hp), plain);

    // a race picked in its drop-down tints the drop-down's face until it is updated
    QComboBox* race = combo(u"Combo2"_s);
    const auto pickAnotherRace = [race] {
        race->setCurrentIndex(race->currentIndex() == 1 ? 2 : 1);
    };
    pickAnotherRace();
    const QImage raceMarked = drawn(race);
    trigger(u"mnuRenw"_s);
    EXPECT_GT(differingPixels(raceMarked, drawn(race), race->rect()), 20);

    // typing digits into the ID drop-down shows no other monster and keeps the edits
    typeInto(u"Text1(2)"_s, u"5555"_s);
    pickAnotherRace();
    QTest::keyClicks(combo(u"Combo5"_s), u"1004"_s);
    EXPECT_EQ(text(u"Text0"_s), u"1"_s);
    EXPECT_EQ(text(u"Text1(2)"_s), u"5555"_s);

    // choosing another monster drops both edits, and says which
    show(u"TENGU"_s);
    EXPECT_EQ(message(), u"沼河童 (KAPPA) の更新していない編集を破棄しました: ＨＰ、種族"_s);
    EXPECT_EQ(inside(hp), plain);
    // a monster chosen with no edits says nothing new
    show(u"KAPPA"_s);
    EXPECT_EQ(message(), u"沼河童 (KAPPA) の更新していない編集を破棄しました: ＨＰ、種族"_s);

    // an edit of a dependent editor is tinted and named too
    enableFrame(u"Frame2"_s);
    QLineEdit* rate = control<QLineEdit>(u"Text6(0)"_s);
    const QColor ratePlain = inside(rate);
    typeInto(u"Text6(0)"_s, u"42"_s);
    EXPECT_EQ(inside(rate), EditMarks::tint());
    show(u"TENGU"_s);
    EXPECT_EQ(message(), u"沼河童 (KAPPA) の更新していない編集を破棄しました: 確率１"_s);
    EXPECT_EQ(inside(rate), ratePlain);
}

// The name list's first row is its heading: while a monster is shown, the highlight is on it,
// whether the user clicked the heading, pressed Home, or Up from the first monster.
TEST_F(DrawnFeedbackTest, TheNameListNeverHighlightsItsHeading) {
    startSample();
    window->show();
    QListView* list = control<QListView>(u"List4"_s);
    const auto heading = [&] { return list->model()->index(0, 0); };
    // the rows the view highlights: its selection, once the key or click has been handled
    const auto highlighted = [&](const QModelIndex& row) {
        QCoreApplication::processEvents();
        const QModelIndexList rows = list->selectionModel()->selectedRows();
        return rows.contains(row) && (row != heading() || list->currentIndex() == row);
    };
    list->setFocus();
    ASSERT_TRUE(highlighted(list->model()->index(1, 0)));

    QTest::keyClick(list, Qt::Key_Home);
    EXPECT_EQ(text(u"Text0"_s), u"1"_s);
    EXPECT_FALSE(highlighted(heading()));
    EXPECT_EQ(list->currentIndex().row(), 1);

    QTest::keyClick(list, Qt::Key_Down);
    QTest::keyClick(list, Qt::Key_Up);
    QTest::keyClick(list, Qt::Key_Up);
    EXPECT_EQ(text(u"Text0"_s), u"1"_s);
    EXPECT_FALSE(highlighted(heading()));

    EXPECT_TRUE(highlighted(list->model()->index(1, 0)));
    const QRect headingRect = list->visualRect(heading());
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, headingRect.center());
    EXPECT_EQ(text(u"Text0"_s), u"1"_s);
    EXPECT_FALSE(highlighted(heading()));
    EXPECT_TRUE(highlighted(list->model()->index(1, 0)));
}

}  // namespace mdb::test
