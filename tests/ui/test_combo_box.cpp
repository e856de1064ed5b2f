#include <gtest/gtest.h>

#include <QComboBox>
#include <QListView>
#include <QStringList>
#include <QTest>
#include <QWidget>

#include "ui/controls/ColumnModel.h"
#include "ui/controls/ComboBox.h"

using namespace mdb;
using namespace Qt::StringLiterals;

// A drop-down over a shared column asks for the size the policy of minimum contents length with
// an icon gives, whatever its rows (a long row must not widen it, 30,000 rows must not be
// measured), without building its popup until it is opened; the popup then lays out rows of
// one height.
TEST(ComboBox, SizedByItsMinimumLengthAndItsPopupMadeWhenOpened) {
    QWidget parent;
    QStringList rows;
    for (int i = 0; i < 30000; ++i) rows << u"行"_s + QString::number(i);
    rows[17] = QString(200, u'W');
    ColumnModel model(rows);
    for (int chars : {6, 10}) {
        SCOPED_TRACE(chars);
        QComboBox* combo = makeComboBox(u"Combo"_s, &model, &parent, chars);
        QComboBox reference(&parent);
        reference.setPlaceholderText(u" "_s);
        reference.setModel(&model);
        reference.setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
        reference.setMinimumContentsLength(chars);
        EXPECT_EQ(combo->sizeHint(), reference.sizeHint());
        EXPECT_EQ(combo->minimumSizeHint(), reference.minimumSizeHint());
        EXPECT_EQ(combo->currentIndex(), -1);
        EXPECT_TRUE(combo->findChildren<QListView*>().isEmpty());

        combo->showPopup();
        auto* view = qobject_cast<QListView*>(combo->view());
        ASSERT_TRUE(view);
        EXPECT_TRUE(view->uniformItemSizes());
        EXPECT_EQ(view->model(), &model);
        combo->hidePopup();
        EXPECT_EQ(combo->currentIndex(), -1);
    }
}
