#include "ui/controls/MessageSink.h"

#include <QMessageBox>

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

}  // namespace mdb
