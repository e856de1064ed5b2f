#include "ui/commands/StatusReport.h"

#include <QLabel>
#include <QMainWindow>
#include <QStatusBar>

namespace mdb {

using namespace Qt::StringLiterals;

StatusReport::StatusReport(QMainWindow& window, const QDir& folder, QObject* parent)
    : QObject(parent), window_(window), bar_(window.statusBar()), folder_(new QLabel(bar_)) {
    bar_->setObjectName(u"statusBar"_s);
    folder_->setObjectName(u"statusFolder"_s);
    const QString path = QDir::toNativeSeparators(folder.absolutePath());
    folder_->setText(u"フォルダ: %1"_s.arg(path));
    folder_->setToolTip(path);
    // a deep folder must not push the messages out: the label gives up its start first
    folder_->setMinimumWidth(0);
    folder_->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    bar_->addPermanentWidget(folder_, 1);
    // the window title is the product title alone; updates not yet saved add Qt's marker
    if (!window_.windowTitle().contains(u"[*]"_s)) {
        window_.setWindowTitle(window_.windowTitle() + u"[*]"_s);
    }
}

QString StatusReport::message() const {
    return bar_->currentMessage();
}

void StatusReport::show(const QString& text) {
    // stays until the next command replaces it: the user may look away while it runs
    bar_->showMessage(text);
    bar_->setToolTip(QString());
}

void StatusReport::updated(const QString& monster, quint64 changedFields) {
    show(changedFields == 0 ? u"更新しました: %1（変更された項目はありません）"_s.arg(monster)
                            : u"更新しました: %1（%2 項目）"_s.arg(monster).arg(changedFields));
}

void StatusReport::saved(const QStringList& files, const QTime& when) {
    show(u"上書き保存しました: %1 ファイル（%2）"_s.arg(files.size())
             .arg(when.toString(u"HH:mm:ss"_s)));
    bar_->setToolTip(files.join(u"\n"_s));
}

void StatusReport::saveFailed(const QString& fileName) {
    show(u"上書き保存できませんでした: %1（他のファイルはメッセージを参照して下さい）"_s.arg(
        fileName));
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
                : u"ID検索: ID「%1」のモンスターはいません"_s.arg(text));
}

void StatusReport::lineAdded(const QString& fileName) {
    show(u"%1 に１行追加しました（再起動すると編集できます）"_s.arg(fileName));
}

void StatusReport::unsavedUpdatesChanged(bool unsaved) {
    window_.setWindowModified(unsaved);
}

}  // namespace mdb
