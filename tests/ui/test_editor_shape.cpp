// What every editor shares: the binding table, focus moves that are the user's, and drop-downs
// that the wheel changes only with the focus.
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QMap>
#include <QMenu>
#include <QMenuBar>
#include <QTest>
#include <QWheelEvent>

#include "EditorFixture.h"
#include "ui/controls/BindingTable.h"
#include "ui/controls/ChainTrace.h"
#include "ui/controls/ColumnModel.h"
#include "ui/controls/FindListEntry.h"
#include "ui/editors/DropEditor.h"
#include "ui/editors/MvpEditor.h"
#include "ui/status/StatusEditor.h"

using namespace Qt::StringLiterals;

namespace mdb::test {

class EditorShape : public EditorFixture {
protected:
    // Shows the window and makes it the active one, as a user's window would be.
    bool activate() {
        window->show();
        QApplication::setActiveWindow(window.get());
        return QTest::qWaitForWindowActive(window.get());
    }
    static void wheel(QWidget* widget, int delta) {
        const QPointF at(widget->width() / 2.0, widget->height() / 2.0);
        QWheelEvent event(at, widget->mapToGlobal(at), QPoint(), QPoint(0, delta), Qt::NoButton,
                          Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(widget, &event);
    }
};

// Each editor's binding table shows a record and commits exactly its fields back: unchanged
// boxes give the same record, a swapped pair of boxes would not.
TEST_F(EditorShape, EachBindingTableRoundTripsItsRecord) {
    startSample();
    MainWindow& w = *window;
    MonsterDatabase& db = w.database();
    show(u"KAPPA_KING"_s);  // has a drop and an MVP record
    ChainScope::resetDeepest();
    show(u"TENGU_LORD"_s);
    // showing a monster runs every chain of the window, well inside the guard's bound
    EXPECT_GT(ChainScope::deepest(), 3);
    EXPECT_LT(ChainScope::deepest(), ChainScope::MaxChainDepth / 2);

    struct Case {
        const char* editor;
        const BindingTable& bindings;
        Table& table;
        qint32 record;
        std::vector<int> fields;
    };
    // every field but the monster's key (and the status ID shown beside it) is written back
    const auto written = [](TableId id, int firstWritten) {
        std::vector<int> fields;
        for (int f = firstWritten; f <= Tables::of(id).fieldCount(); ++f) fields.push_back(f);
        return fields;
    };
    const std::vector<int> statusFields = written(TableId::Status, StatusField::Name + 1);
    const std::vector<int> dropFields = written(TableId::Drop, DropField::Name + 1);
    const std::vector<int> mvpFields = written(TableId::Mvp, MvpField::Name + 1);
    const int statusRecord = control<QLineEdit>(u"Text0"_s)->text().toInt() + 1;
    const Case cases[] = {
        {"status", statusEditor().bindings(), db.StatusTable, statusRecord, statusFields},
        {"drop", editor(TableId::Drop).bindings(), db.DropTable,
         editor(TableId::Drop).shownRecord(), dropFields},
        {"MVP", editor(TableId::Mvp).bindings(), db.MvpTable, editor(TableId::Mvp).shownRecord(),
         mvpFields},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.editor);
        ASSERT_GE(c.record, 2);  // not the first record, so that a record mix-up shows
        EXPECT_EQ(c.bindings.committedFields(), c.fields);
        const Table before = c.table;
        EXPECT_FALSE(c.bindings.differsFrom(c.table, c.record));
        c.bindings.commitInto(c.table, c.record);
        for (qint32 r = 1; r <= c.table.Count(); ++r) {
            for (int f = 1; f <= c.table.fieldCount(); ++f) {
                ASSERT_EQ(c.table.field(r, f), before.field(r, f)) << r << "/" << f;
            }
        }
        // another record shown through the same table fills every box from that record
        c.bindings.showRecord(c.table, c.record - 1);
        EXPECT_TRUE(c.bindings.differsFrom(c.table, c.record));
        EXPECT_FALSE(c.bindings.differsFrom(c.table, c.record - 1));
        c.bindings.showRecord(c.table, c.record);
    }

    // an edit is seen as not yet committed until the update copies it
    control<QLineEdit>(u"Text6(1)"_s)->setText(u"77"_s);
    control<QLineEdit>(u"Text8(0)"_s)->setText(u"12345"_s);
    control<QLineEdit>(u"Text1(3)"_s)->setText(u"99"_s);
    EXPECT_TRUE(editor(TableId::Drop).hasUncommittedEdits());
    EXPECT_TRUE(editor(TableId::Mvp).hasUncommittedEdits());
    EXPECT_TRUE(statusEditor().hasUncommittedEdits());
    trigger(u"mnuRenw"_s);
    EXPECT_FALSE(editor(TableId::Drop).hasUncommittedEdits());
    EXPECT_FALSE(editor(TableId::Mvp).hasUncommittedEdits());
    EXPECT_FALSE(statusEditor().hasUncommittedEdits());
    EXPECT_EQ(db.DropTable.field(editor(TableId::Drop).shownRecord(), DropField::Rate(1)), u"77"_s);
    EXPECT_EQ(db.MvpTable.field(editor(TableId::Mvp).shownRecord(), MvpField::MvpExp), u"12345"_s);
}

// The leave-the-box rules are for the user moving between controls: a menu opened with the
// mouse or a switch to another window leaves the box as typed.
TEST_F(EditorShape, MenusAndWindowSwitchesDoNotLeaveTheBox) {
    startSample();
    MainWindow& w = *window;
    if (!activate()) GTEST_SKIP() << "the platform gives no active window";
    QLineEdit* hp = control<QLineEdit>(u"Text1(2)"_s);
    hp->setFocus();
    ASSERT_TRUE(hp->hasFocus());
    hp->setText(u"-7"_s);

    // the 機能 menu opened from the menu bar with the mouse, then the update picked in it
    const QRect title = w.menuBar()->actionGeometry(control<QMenu>(u"mnuEdit"_s)->menuAction());
    QTest::mouseClick(w.menuBar(), Qt::LeftButton, {}, title.center());
    ASSERT_TRUE(QTest::qWaitFor([&] { return control<QMenu>(u"mnuEdit"_s)->isVisible(); }));
    EXPECT_EQ(hp->text(), u"-7"_s);
    trigger(u"mnuRenw"_s);
    control<QMenu>(u"mnuEdit"_s)->hide();
    EXPECT_EQ(w.database().StatusTable.field(2, StatusField::Hp), u"-7"_s);

    // switching to another window and back while Text0 reads "5x" keeps the shown monster
    QLineEdit* position = control<QLineEdit>(u"Text0"_s);
    QLineEdit* name = control<QLineEdit>(u"Text2A"_s);
    position->setFocus();
    position->setText(u"5"_s);  // typed a key at a time
    position->setText(u"5x"_s);
    const QString shown = name->text();
    QWidget other;
    other.show();
    QApplication::setActiveWindow(&other);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&other));
    EXPECT_EQ(position->text(), u"5x"_s);
    QApplication::setActiveWindow(window.get());
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    EXPECT_EQ(position->text(), u"5x"_s);
    EXPECT_EQ(name->text(), shown);

    // tabbing out of the box is the user's move: now the rules run
    QTest::keyClick(position, Qt::Key_Tab);
    EXPECT_EQ(position->text(), u"1"_s);
}

// A wheel turn over a drop-down that has no focus changes nothing; with the focus it does.
TEST_F(EditorShape, WheelChangesOnlyTheFocusedDropDown) {
    startSample();
    if (!activate()) GTEST_SKIP() << "the platform gives no active window";
    QLineEdit* displayName = control<QLineEdit>(u"Text4"_s);
    QComboBox* raceList = control<QComboBox>(u"Combo2"_s);
    displayName->setFocus();
    displayName->setText(u"typed name"_s);
    const QString position = control<QLineEdit>(u"Text0"_s)->text();
    for (QComboBox* combo :
         {control<QComboBox>(u"Combo5"_s), raceList, control<QComboBox>(u"Combo3"_s),
          control<QComboBox>(u"Combo4"_s), control<QComboBox>(u"Combo8A"_s)}) {
        SCOPED_TRACE(combo->objectName().toStdString());
        combo->setEnabled(true);
        const int before = combo->currentIndex();
        wheel(combo, -120);
        EXPECT_EQ(combo->currentIndex(), before);
    }
    EXPECT_EQ(control<QLineEdit>(u"Text0"_s)->text(), position);
    EXPECT_EQ(displayName->text(), u"typed name"_s);

    raceList->setFocus();
    ASSERT_TRUE(raceList->hasFocus());
    const int race = raceList->currentIndex();
    wheel(raceList, -120);
    EXPECT_NE(raceList->currentIndex(), race);
}

// The index of a key column answers what a scan from the top would: the first row equal to
// the text ignoring letter case, also where letter case is more than A-Z, and for rows added
// after the index was built.
TEST(KeyIndex, FindsWhatTheScanFinds) {
    const QStringList rows{u"KAPPA"_s, u"kappa"_s,    u"Straße"_s,   u"STRASSE"_s,    u"ǅ"_s,
                           u"ǆ"_s,     u"Σίσυφος"_s,  u"ΣΊΣΥΦΟΣ"_s,  u"ｋａｐｐａ"_s, u"𐐨"_s,
                           u"Ǆ"_s,     u"İstanbul"_s, u"istanbul"_s, QString()};
    ColumnModel scanned(rows);
    ColumnModel indexed(rows.mid(0, 5));
    indexed.indexWholeText();
    indexed.appendRows(rows.mid(5));
    QStringList queries = rows;
    queries << u"Kappa"_s << u"strasse"_s << u"STRAßE"_s << u"ǆ"_s << u"σίσυφος"_s
            << u"ＫＡＰＰＡ"_s << u"𐐀"_s << u"ISTANBUL"_s << u"KAPP"_s;
    for (const QString& query : queries) {
        EXPECT_EQ(findRow(indexed, query, MatchMode::WholeText),
                  findRow(scanned, query, MatchMode::WholeText))
            << query.toStdString();
    }
    EXPECT_EQ(findRow(indexed, u"kApPa"_s, MatchMode::WholeText), 0);
    EXPECT_EQ(findRow(indexed, u"KAPP"_s, MatchMode::WholeText), -1);
}

}  // namespace mdb::test

namespace mdb::test {

// Tab moves through the status form down each column as it reads, then through the mode flags.
TEST_F(EditorShape, TabWalksTheStatusFormColumnByColumn) {
    copySample();
    ASSERT_EQ(start(), MainWindow::StartResult::Started);
    QStringList walked;
    QWidget* widget = control<QWidget>(u"List4"_s);
    const QGroupBox* form = control<QGroupBox>(u"Frame1"_s);
    for (int steps = 0; steps < 200 && walked.size() < 39; ++steps) {
        if ((widget->focusPolicy() & Qt::TabFocus) && form->isAncestorOf(widget))
            walked << widget->objectName();
        widget = widget->nextInFocusChain();
    }
    const QString expected =
        u"List4 Combo5 Text2A Text4 Text1(1) Text1(2) Text1(3) Text1(4) Text1(5) Text9 Text1(6) "
        u"Text1(7) Text1(8) Text1(9) Text1(10) Text1(17) Text1(18) Text10 Text1(11) Text1(12) "
        u"Text1(13) Text1(14) Text1(15) Text1(16) Combo4 Combo2 Combo3 Text1(22) Text1(23) "
        u"Text1(24) Text1(25) Text7 Check1(0) Check1(3) Check1(1) Check1(5) Check1(2) Check1(6) "
        u"Check1(4)"_s;
    EXPECT_EQ(walked.join(u' ').toStdString(), expected.toStdString());

    // Tab from the emotion number reaches the next editor without stopping on each picture
    QStringList tabStops;
    auto* number = window->findChild<QLineEdit*>(u"Text14"_s);
    ASSERT_NE(number, nullptr);
    for (QWidget* w = number->nextInFocusChain(); w != number; w = w->nextInFocusChain()) {
        if (w->focusPolicy() & Qt::TabFocus) tabStops << w->objectName();
    }
    EXPECT_FALSE(tabStops.join(u' ').contains(u"Option1"_s)) << tabStops.join(u' ').toStdString();
}

}  // namespace mdb::test

namespace mdb::test {

// Real mode values run to nine digits (202834049); the mode box shows all of them.
TEST_F(EditorShape, ModeBoxShowsANineDigitValueWhole) {
    copySample();
    ASSERT_EQ(start(), MainWindow::StartResult::Started);
    window->show();
    QLineEdit* mode = control<QLineEdit>(u"Text7"_s);
    mode->setText(u"202834049"_s);
    QCoreApplication::processEvents();
    const int digits = mode->fontMetrics().horizontalAdvance(mode->text());
    // the frame of the box and the caret's margins take about a line's height beside the text
    EXPECT_GE(mode->width(), digits + mode->fontMetrics().height()) << mode->width();
}

// Tests and tools reach every control by its name alone, so no two objects of the window may
// share one: findChild would hand over whichever it meets first.
TEST_F(EditorShape, EveryControlNameIsOneObjectsOnly) {
    startSample();
    QMap<QString, int> named;
    for (const QObject* object : window->findChildren<QObject*>()) {
        const QString name = object->objectName();
        if (!name.isEmpty() && !name.startsWith(u"qt_"_s)) ++named[name];
    }
    QStringList shared;
    for (auto it = named.cbegin(); it != named.cend(); ++it) {
        if (it.value() > 1) shared << it.key();
    }
    EXPECT_EQ(shared.join(u' ').toStdString(), "");
    for (const QString& name :
         {u"Text0"_s, u"Text1(2)"_s, u"Label7"_s, u"Text13"_s, u"mnuRenw"_s}) {
        EXPECT_TRUE(named.contains(name)) << name.toStdString();
    }
}

}  // namespace mdb::test
