// The frames the status-only view does not show wait, hidden and unmeasured, until a view or a
// window large enough to show them needs them; each view keeps the size it has always had.
#include <QAction>
#include <QApplication>
#include <QGroupBox>
#include <QLineEdit>

#include "WindowFixture.h"

namespace mdb::test {

using namespace Qt::StringLiterals;

namespace {

const QStringList kWaitingFrames{u"Frame5"_s, u"Frame2"_s,  u"Frame1A"_s,
                                 u"Frame7"_s, u"Frame11"_s, u"Frame9"_s};

}  // namespace

class FrameArrangement : public WindowFixture {
protected:
    void press(const QString& name) {
        control<QAction>(name)->trigger();
        QApplication::processEvents();
    }
    QString hiddenFrames() const {
        QStringList hidden;
        for (const QString& name : kWaitingFrames) {
            if (control<QGroupBox>(name)->isHidden()) hidden << name;
        }
        return hidden.join(u' ');
    }
    // Every frame has at least the room its controls ask for.
    void expectRoomForEveryFrame(const char* when) const {
        for (const QString& name : kWaitingFrames + QStringList{u"Frame1"_s}) {
            const auto* frame = control<QGroupBox>(name);
            const QSize minimum = frame->minimumSizeHint();
            EXPECT_GE(frame->width(), minimum.width()) << name.toStdString() << " " << when;
            EXPECT_GE(frame->height(), minimum.height()) << name.toStdString() << " " << when;
        }
    }
};

TEST_F(FrameArrangement, TheStatusOnlyViewKeepsItsSizeWhenTheOtherFramesAreMeasuredLater) {
    startSample();
    window->show();
    QApplication::processEvents();
    EXPECT_EQ(hiddenFrames(), kWaitingFrames.join(u' '));
    EXPECT_FALSE(control<QGroupBox>(u"Frame1"_s)->isHidden());
    const QSize statusOnly = window->size();
    const QRect statusFrame = control<QGroupBox>(u"Frame1"_s)->geometry();

    // the standard view shows and measures them all
    press(u"mnuStatMenu"_s);
    EXPECT_EQ(hiddenFrames(), QString());
    expectRoomForEveryFrame("in the standard view");
    press(u"mnuMenu2"_s);
    expectRoomForEveryFrame("in the full view");

    // and the status-only view is the one the window started with
    press(u"mnuStatMenu"_s);
    EXPECT_EQ(window->size(), statusOnly);
    EXPECT_EQ(control<QGroupBox>(u"Frame1"_s)->geometry(), statusFrame);
}

TEST_F(FrameArrangement, AWindowMadeLargerByHandShowsTheFramesBeyondTheFirstView) {
    startSample();
    window->show();
    QApplication::processEvents();
    window->resize(window->size() + QSize(400, 300));
    QApplication::processEvents();
    EXPECT_EQ(hiddenFrames(), QString());
    expectRoomForEveryFrame("in a larger window");
    // still the status-only view: the frames it does not edit stay unusable
    for (const QString& name : kWaitingFrames) {
        EXPECT_FALSE(control<QGroupBox>(name)->isEnabled()) << name.toStdString();
    }
}

}  // namespace mdb::test

namespace mdb::test {

// A monster shown while the frames wait, hidden and not yet laid out, shows the start of a
// long text in a narrow box once its frame is shown.
TEST_F(FrameArrangement, ALongTextFilledWhileItsFrameWaitedShowsItsStart) {
    startSample();
    window->show();
    QApplication::processEvents();
    Table& drops = window->database().DropTable;
    const QString key = drops.field(2, 1);
    const QString longRate = u"123456789012"_s;
    drops.setField(2, DropField::Rate(0), longRate);
    const qint64 record = window->database().StatusTable.column(StatusField::Name).indexOf(key);
    ASSERT_GT(record, 1);
    control<QLineEdit>(u"Text0"_s)->setText(QString::number(record - 1));
    auto* rate = control<QLineEdit>(u"Text6(0)"_s);
    ASSERT_EQ(rate->text(), longRate);

    press(u"mnuStatMenu"_s);
    ASSERT_GT(rate->fontMetrics().horizontalAdvance(longRate), rate->width());
    EXPECT_EQ(rate->cursorPosition(), 0);
}

}  // namespace mdb::test
