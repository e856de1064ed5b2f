#include "ui/commands/StatusReport.h"

#include <QLoggingCategory>
#include <QMainWindow>
#include <QStatusBar>

#include "ui/commands/StatusLine.h"

namespace mdb {

using namespace Qt::StringLiterals;

namespace {

// Every message as it is shown; QT_LOGGING_RULES="mdb.status.info=true" lets a script that
// drives the real window read what the bar says.
Q_LOGGING_CATEGORY(statusLog, "mdb.status", QtWarningMsg)

}  // namespace

StatusReport::StatusReport(QMainWindow& window, const QDir& folder, QObject* parent)
    : QObject(parent),
      window_(window),
      bar_(window.statusBar()),
      line_(new StatusLine(QDir::toNativeSeparators(folder.absolutePath()), bar_)) {
    bar_->setObjectName(u"statusBar"_s);
    // the message and the folder share one widget that gives the message its room first: a
    // message of the bar's own would be painted only where the folder leaves space
    bar_->addWidget(line_, 1);
    // the window title is the product title alone; updates not yet saved add Qt's marker
    if (!window_.windowTitle().contains(u"[*]"_s)) {
        window_.setWindowTitle(window_.windowTitle() + u"[*]"_s);
    }
}

QString StatusReport::message() const {
    return line_->message();
}

void StatusReport::show(const QString& text, Kind kind) {
    // stays until the next command replaces it, or something makes it untrue: the user may
    // look away while a command runs
    line_->setMessage(text);
    qCInfo(statusLog).noquote() << text;
    kind_ = text.isEmpty() ? Kind::None : kind;
}

void StatusReport::updated(const QString& monster, quint64 changedFields) {
    show(changedFields == 0 ? u"更新しました: %1（変更された項目はありません）"_s.arg(monster)
                            : u"更新しました: %1（%2 項目）"_s.arg(monster).arg(changedFields));
}

void StatusReport::saved(const QStringList& files, const QTime& when) {
    show(u"上書き保存しました: %1 ファイル（%2）"_s.arg(files.size())
             .arg(when.toString(u"HH:mm:ss"_s)));
    line_->setMessageToolTip(files.join(u"\n"_s));
}

void StatusReport::saveFailed(const QString& fileName) {
    show(u"上書き保存できませんでした: %1（他のファイルはメッセージを参照して下さい）"_s.arg(
        fileName));
}

void StatusReport::saveCancelled() {
    show(u"上書き保存を取りやめました（ファイルは書き換えていません）"_s);
}

void StatusReport::itemsLoaded(const QList<qint32>& counts) {
    qint64 total = 0;
    for (qint32 count : counts) total += count;
    show(u"アイテムDBを読み込みました: 消耗品 %1 件、ドロップ %2 件、装備 %3 件（計 %4 件）"_s
             .arg(counts.value(0))
             .arg(counts.value(1))
             .arg(counts.value(2))
             .arg(total));
}

void StatusReport::searchFoundNothing(bool byName, const QString& text) {
    show(byName ? u"名前検索: 「%1」で始まるモンスターはいません"_s.arg(text)
                : u"ID検索: ID「%1」のモンスターはいません"_s.arg(text),
         Kind::Search);
}

void StatusReport::searchSettled() {
    if (kind_ == Kind::Search) show(QString());
}

void StatusReport::lineAdded(const QString& fileName) {
    show(u"%1 に１行追加しました（再起動すると編集できます）"_s.arg(fileName));
}

void StatusReport::undone(const QString& monster) {
    show(u"元に戻しました: %1"_s.arg(monster));
}

void StatusReport::redone(const QString& monster) {
    show(u"やり直しました: %1"_s.arg(monster));
}

void StatusReport::editsDropped(const QString& monster, const QStringList& fields) {
    show(u"%1 の更新していない編集を破棄しました: %2"_s.arg(monster, fields.join(u"、"_s)));
}

void StatusReport::unsavedUpdatesChanged(bool unsaved) {
    window_.setWindowModified(unsaved);
}

}  // namespace mdb
