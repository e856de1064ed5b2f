// A message box with a line longer than the screen is wide (a deep path, a list of files)
// keeps every line inside the box and the box inside the screen, at scale 1 and 2.
#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QMessageBox>
#include <QScreen>
#include <QTimer>

#include "ui/controls/MessageSink.h"

using namespace Qt::StringLiterals;

namespace mdb::test {

TEST(MessageBoxFit, ALongPathStaysOnTheScreenAndLosesNoCharacter) {
    const QString path = u"/srv/game/"_s + QString(290, u'あ');
    ASSERT_EQ(path.size(), 300);
    const QString text =
        MessageSink::joinLines({u"更新を復旧用の記録に書き込めませんでした"_s,
                                u"記録: %1"_s.arg(path), u"理由: No space left on device"_s});

    DialogMessageSink sink(nullptr);
    bool seen = false;
    // the box is looked at while it is shown, then closed, as the user would
    QTimer::singleShot(0, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        seen = true;
        const QRect screen = box->screen()->availableGeometry();
        const QRect frame = box->frameGeometry();
        EXPECT_TRUE(screen.contains(frame))
            << frame.x() << "," << frame.y() << " " << frame.width() << "x" << frame.height()
            << " on " << screen.width() << "x" << screen.height();
        const auto* label = box->findChild<QLabel*>(u"qt_msgbox_label"_s);
        ASSERT_NE(label, nullptr);
        // the label lies inside the box, and each of its lines inside the label
        EXPECT_TRUE(box->rect().contains(label->geometry()));
        const QStringList lines = label->text().split(u'\n');
        EXPECT_GT(lines.size(), 3);
        for (const QString& line : lines) {
            EXPECT_LE(label->fontMetrics().horizontalAdvance(line), label->contentsRect().width())
                << line.toStdString();
        }
        // broken only: read in order, the lines are the message
        EXPECT_EQ(lines.join(QString()), QString(text).remove(u'\r').remove(u'\n'));
        box->accept();
    });
    sink.warning(u"復旧用の記録エラー"_s, text);
    EXPECT_TRUE(seen);
}

}  // namespace mdb::test
