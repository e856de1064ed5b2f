// The window's load step: the guard, the restore of interrupted rewrites, the seven files
// (read here or handed over by a preload), and the messages of a start that cannot go on.
#include <QAction>

#include "app/InstanceGuard.h"
#include "app/MainWindow.h"
#include "app/MonsterPreload.h"
#include "app/QuoteQuestion.h"
#include "storage/DatabaseFiles.h"
#include "storage/RecoveryCopy.h"
#include "storage/SafeWrite.h"
#include "ui/commands/UnsavedWork.h"
#include "ui/controls/MessageSink.h"
#include "ui/editors/EmoteEditor.h"
#include "ui/messages/StorageMessages.h"
#include "ui/status/StatusEditor.h"

namespace mdb {

using namespace Qt::StringLiterals;

MainWindow::StartResult MainWindow::startUp(MonsterPreload* preload) {
    if (guard_) {
        if (guard_->anotherInstanceRunning(dir_.absolutePath())) {
            // the earlier window keeps the title; this one never shows
            setWindowTitle(u"２重起動"_s);
            return StartResult::AnotherInstance;
        }
        guard_->setWindow(this, dir_.absolutePath(),
                          [this](const QString& refused) { reportRefusedFolder(refused); });
    }

    for (QAction* action :
         {saveEntry_, debugWindow1Entry_, debugWindow2Entry_, debugWindow3Entry_}) {
        action->setEnabled(false);
    }

    // Another editor of this user on this folder (from another machine, say) has its journal:
    // this one must neither restore under it nor write beside it.
    if (work->lockJournal(false) == Journal::Lock::Busy) return refuseFolderInUse();

    // The restore must not change a file under a reader, whichever folder it reads (two paths
    // may name one folder).
    if (preload) preload->wait();
    // a file that a crash left half rewritten is put back before anything reads it
    const RestoreReport restore = restoreInterruptedRewrites(dir_);
    if (!reportInterruptedRewrites(restore, messages_)) return StartResult::Failed;
    // What was read ahead is used only if it is what the folder holds now: not after a file was
    // put back, nor after another instance saved since. A failure is looked at afresh too.
    const bool readAhead = preload && preload->holds(dir_) && restore.restored.isEmpty() &&
                           preload->readAsTheFilesAreNow();
    if (preload && !readAhead) preload->discard();
    if (auto error = readAhead ? preload->moveInto(db_) : loadMonsterDatabase(dir_, db_)) {
        reportStartFailure(*error);
        return StartResult::Failed;
    }
    // the editors need a monster after the placeholder and a first metamorphosis record
    if (db_.StatusTable.Count() < 2) {
        reportStartRefusal(
            db_.StatusTable.name(),
            u"モンスターのレコードがありません（先頭のダミー行の後に１件以上必要です）"_s);
        return StartResult::Failed;
    }
    if (db_.MorphTable.Count() < 1) {
        reportStartRefusal(db_.MorphTable.name(),
                           u"レコードが１件もありません（１件以上必要です）"_s);
        return StartResult::Failed;
    }
    if (!acceptQuotesOverLines(db_, messages_)) return StartResult::Failed;
    // the first start on a folder makes the state folder only now that the start goes on
    if (work->lockJournal(true) == Journal::Lock::Busy) return refuseFolderInUse();
    // what saves and journal writes cut short by a crash left behind goes before anything is
    // written; one that stays is named by the next save
    for (const Table* table : db_.saveOrder()) {
        removeStrayTemporaries(dir_, table->name(), nullptr);
    }
    work->removeJournalLeftovers();
    work->noteLoaded();
    models_->fillFromDatabase(db_);

    status->fillCodeLists();
    emote->fillCodeLists();
    status->setSliderMaximum(int(db_.StatusTable.Count() - 1));
    // Showing the first monster has already looked it up in the metamorphosis table. Selecting
    // the table's first record on top of that would leave another monster's record behind the
    // disabled editor of a monster that has none, and the next update, with the editors
    // unlocked for adding, would write the form into that record.
    status->showPosition(1);
    models_->replaceFirstRows();
    work->offerRecovery();
    return StartResult::Started;
}

MainWindow::StartResult MainWindow::refuseFolderInUse() {
    messages_.warning(
        u"編集中のフォルダ"_s,
        MessageSink::joinLines({u"このフォルダは別の場所で開いているエディタが編集中です"_s,
                                QDir::toNativeSeparators(dir_.absolutePath()),
                                u"同じフォルダを同時に２つのエディタで編集することはできません"_s,
                                u"もう一方のエディタを終了してから起動して下さい"_s}));
    return StartResult::Failed;
}

void MainWindow::reportStartFailure(const StorageError& error) {
    int width = 0;
    for (const Table* table : db_.saveOrder()) {
        if (table->name() == error.fileName) width = table->fieldCount();
    }
    switch (error.kind) {
        case ErrorKind::FileNotFound:
            messages_.warning(u"ファイルオープンエラー"_s,
                              MessageSink::joinLines(
                                  {u"プログラム起動に必要なデータベースファイルが見つかりません"_s,
                                   u"必要なデータベース全てを実行フォルダへ用意して下さい"_s,
                                   brokenFileLine(error, width)}));
            return;
        case ErrorKind::EndOfFileInRecord:
        case ErrorKind::MisalignedRecord:
            messages_.warning(
                u"ファイルオープンエラー"_s,
                MessageSink::joinLines(
                    {u"データベースファイル形式が不正です"_s,
                     u"空白行や//で始まる行、または未入力項目や適正値超過・入力列超過"_s,
                     u"などが　データベース内に存在するとプログラムを起動出来ません"_s,
                     brokenFileLine(error, width)}));
            return;
        case ErrorKind::BadEncoding:
        case ErrorKind::Utf8Text:
            messages_.warning(u"ファイルオープンエラー"_s,
                              MessageSink::joinLines(
                                  {u"データベースファイル形式が不正です"_s, badEncodingLine(error),
                                   u"このファイルではプログラムを起動出来ません"_s}));
            return;
        default:
            messages_.warning(unknownErrorTitle(), unknownErrorText(error));
            return;
    }
}

void MainWindow::reportStartRefusal(const QString& fileName, const QString& reason) {
    messages_.warning(u"ファイルオープンエラー"_s,
                      MessageSink::joinLines({u"データベースファイル形式が不正です"_s,
                                              fileName + u": "_s + reason,
                                              u"このファイルではプログラムを起動出来ません"_s}));
}

// A later start was for another folder: only one editor runs, so that folder was not opened.
// Said here, where the user is brought back to, and not only by the start that ended.
void MainWindow::reportRefusedFolder(const QString& refused) {
    messages_.notice(MessageSink::joinLines(
        {u"エディタは既に起動しているため、次のフォルダは開きませんでした："_s,
         QDir::toNativeSeparators(refused), QString(), u"このエディタが開いているフォルダ："_s,
         QDir::toNativeSeparators(dir_.absolutePath()), QString(),
         u"別のフォルダを編集するには、このエディタを終了してから起動して下さい。"_s}));
}

}  // namespace mdb
