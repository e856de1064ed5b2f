#include "ui/controls/MessageSink.h"

#include <QMessageBox>
#include <QPushButton>

namespace mdb {

QString MessageSink::joinLines(const QStringList& lines) {
    return lines.join(QStringLiteral("\r\n"));
}

void DialogMessageSink::warning(const QString& title, const QString& text) {
    QMessageBox box(QMessageBox::Warning, title, text, QMessageBox::Ok, parent_);
    box.exec();
}

void DialogMessageSink::notice(const QString& text) {
    QMessageBox box(QMessageBox::NoIcon, applicationTitle(), text, QMessageBox::Ok, parent_);
    box.exec();
}

MessageSink::Answer DialogMessageSink::askSaveBeforeQuit(const QString& text) {
    QMessageBox box(QMessageBox::Question, applicationTitle(), text, QMessageBox::NoButton,
                    parent_);
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
