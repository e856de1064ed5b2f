#include "ui/controls/MessageSink.h"

#include <QApplication>
#include <QLabel>
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

// A message box wraps its text at a width of its own choosing, which cuts Japanese sentences
// in the middle of a word: give the text the width of its longest line, as far as the screen
// allows, so that each line is broken only where the message breaks it.
void keepLinesWhole(QMessageBox& box) {
    auto* label = box.findChild<QLabel*>(QStringLiteral("qt_msgbox_label"));
    if (!label) return;
    int longest = 0;
    for (const QString& line : box.text().split(QStringLiteral("\r\n"))) {
        longest = std::max(longest, label->fontMetrics().horizontalAdvance(line));
    }
    const QScreen* screen = box.screen() ? box.screen() : QGuiApplication::primaryScreen();
    const int room = screen ? screen->availableGeometry().width() * 4 / 5 : longest;
    label->setMinimumWidth(std::min(longest + 2, room));
}

}  // namespace

QString MessageSink::joinLines(const QStringList& lines) {
    return lines.join(QStringLiteral("\r\n"));
}

void DialogMessageSink::warning(const QString& title, const QString& text) {
    QMessageBox box(QMessageBox::Warning, title, text, QMessageBox::Ok, ownerOf(parent_));
    keepLinesWhole(box);
    box.exec();
}

void DialogMessageSink::notice(const QString& text) {
    QMessageBox box(QMessageBox::NoIcon, applicationTitle(), text, QMessageBox::Ok,
                    ownerOf(parent_));
    keepLinesWhole(box);
    box.exec();
}

MessageSink::Answer DialogMessageSink::askSaveBeforeQuit(const QString& text) {
    QMessageBox box(QMessageBox::Question, applicationTitle(), text, QMessageBox::NoButton,
                    ownerOf(parent_));
    keepLinesWhole(box);
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
    box.exec();
    const int chosen = int(buttons.indexOf(box.clickedButton()));
    return chosen >= 0 ? chosen : escape;
}

}  // namespace mdb
