#include "ui/controls/MessageSink.h"

#include <QApplication>
#include <QLabel>
#include <QLayout>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <algorithm>

namespace mdb {

namespace {

// Over the window the user works in (the about box, the main window), not in the middle of
// the screen.
QWidget* ownerOf(QWidget* parent) {
    return parent ? parent : QApplication::activeWindow();
}

// Where a line may be broken when it is wider than the box: after a folder separator, a blank
// or Japanese punctuation, so that a path breaks between its folders where it can.
bool breaksAfter(QChar c) {
    return c == u'/' || c == u'\\' || c == u' ' || c == u'、' || c == u'，' || c == u'・';
}

// Breaks `line` into pieces no wider than `width`, each as long as it can be.
QStringList brokenLine(const QString& line, const QFontMetrics& metrics, int width) {
    QStringList pieces;
    QString rest = line;
    while (metrics.horizontalAdvance(rest) > width && rest.size() > 1) {
        // the longest start that fits, then back to a break after a separator in its last third
        qsizetype fits = 1;
        while (fits < rest.size() && metrics.horizontalAdvance(rest.left(fits + 1)) <= width) {
            ++fits;
        }
        if (fits < rest.size() && rest.at(fits).isLowSurrogate()) --fits;
        qsizetype cut = fits;
        for (qsizetype i = fits; i > fits * 2 / 3; --i) {
            if (breaksAfter(rest.at(i - 1))) {
                cut = i;
                break;
            }
        }
        pieces << rest.left(std::max<qsizetype>(cut, 1));
        rest = rest.mid(std::max<qsizetype>(cut, 1));
    }
    pieces << rest;
    return pieces;
}

}  // namespace

int MessageSink::widestBox(const QScreen* screen) {
    const int width = screen ? screen->availableGeometry().width() : 640;
    // a message box never grows past this width, whatever its text needs
    return width <= 1024 ? width : std::min(width - 480, 1000);
}

// A message box wraps its text at a width of its own choosing, which cuts Japanese sentences
// in the middle of a word, and crops a line it cannot break (a long path) at its right edge.
// Each line keeps its whole width where the box allows it; a longer line is broken here, so
// that no line is wider than the box and the box no wider than the screen.
void MessageSink::fitLines(QMessageBox& box) {
    auto* label = box.findChild<QLabel*>(QStringLiteral("qt_msgbox_label"));
    if (!label) return;
    const QScreen* screen = box.screen() ? box.screen() : QGuiApplication::primaryScreen();
    // beside the text: the icon, the layout's margins and spacing
    int besides = 0;
    if (auto* layout = box.layout()) {
        const QMargins margins = layout->contentsMargins();
        besides += margins.left() + margins.right() + 2 * std::max(layout->spacing(), 6);
    }
    if (auto* icon = box.findChild<QLabel*>(QStringLiteral("qt_msgboxex_icon_label"))) {
        if (!icon->pixmap().isNull()) besides += icon->sizeHint().width();
    }
    const QFontMetrics metrics = label->fontMetrics();
    const int room = std::max(widestBox(screen) - besides - 16, metrics.averageCharWidth() * 8);
    QStringList lines;
    int longest = 0;
    for (const QString& line : box.text().split(QStringLiteral("\r\n"))) {
        for (const QString& piece : brokenLine(line, metrics, room)) {
            lines << piece;
            longest = std::max(longest, metrics.horizontalAdvance(piece));
        }
    }
    label->setText(lines.join(u'\n'));
    label->setMinimumWidth(std::min(longest + 2, room));
}

QString MessageSink::joinLines(const QStringList& lines) {
    return lines.join(QStringLiteral("\r\n"));
}

void DialogMessageSink::warning(const QString& title, const QString& text) {
    QMessageBox box(QMessageBox::Warning, title, text, QMessageBox::Ok, ownerOf(parent_));
    fitLines(box);
    box.exec();
}

void DialogMessageSink::notice(const QString& text) {
    QMessageBox box(QMessageBox::NoIcon, applicationTitle(), text, QMessageBox::Ok,
                    ownerOf(parent_));
    fitLines(box);
    box.exec();
}

MessageSink::Answer DialogMessageSink::askSaveBeforeQuit(const QString& text) {
    QMessageBox box(QMessageBox::Question, applicationTitle(), text, QMessageBox::NoButton,
                    ownerOf(parent_));
    fitLines(box);
    QPushButton* save = box.addButton(QStringLiteral("保存して終了"), QMessageBox::AcceptRole);
    QPushButton* discard =
        box.addButton(QStringLiteral("保存せずに終了"), QMessageBox::DestructiveRole);
    QPushButton* cancel = box.addButton(QStringLiteral("キャンセル"), QMessageBox::RejectRole);
    box.setDefaultButton(save);
    box.setEscapeButton(cancel);
    box.exec();
    if (box.clickedButton() == save) return Answer::Save;
    if (box.clickedButton() == discard) return Answer::Discard;
    return Answer::Cancel;
}

int DialogMessageSink::ask(const QString& text, const QStringList& answers, int defaultAnswer,
                           int escape) {
    QMessageBox box(QMessageBox::Question, applicationTitle(), text, QMessageBox::NoButton,
                    parent_);
    QList<QPushButton*> buttons;
    for (const QString& answer : answers) {
        buttons << box.addButton(answer, QMessageBox::ActionRole);
    }
    if (defaultAnswer >= 0 && defaultAnswer < buttons.size()) {
        box.setDefaultButton(buttons[defaultAnswer]);
    }
    if (escape >= 0 && escape < buttons.size()) box.setEscapeButton(buttons[escape]);
    fitLines(box);
    box.exec();
    const int chosen = int(buttons.indexOf(box.clickedButton()));
    return chosen >= 0 ? chosen : escape;
}

}  // namespace mdb
