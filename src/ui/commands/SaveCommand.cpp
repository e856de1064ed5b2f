#include "ui/commands/SaveCommand.h"

#include "storage/DatabaseFiles.h"
#include "storage/StorageError.h"
#include "ui/controls/MessageSink.h"
#include "ui/messages/StorageMessages.h"

namespace mdb {

using namespace Qt::StringLiterals;

namespace {

const QString kSaveErrorTitle = u"保存エラー"_s;

// Which monster or entry the refused value belongs to: the status table by Id and Name, the
// dependent tables by the monster key in their first field.
QString describeRecord(const StorageError& error, const MonsterDatabase& db) {
    for (const Table* table : db.saveOrder()) {
        if (table->name() != error.fileName) continue;
        const QString where = u"%1 の %2 件目"_s.arg(error.fileName).arg(error.record);
        if (table == &db.StatusTable) {
            return u"モンスター: ID %1 / %2（%3）"_s.arg(
                table->field(error.record, StatusField::Id),
                table->field(error.record, StatusField::Name), where);
        }
        return u"モンスター: %1（%2）"_s.arg(table->field(error.record, 1), where);
    }
    return error.fileName;
}

}  // namespace

SaveCommand::SaveCommand(const QDir& dir, const MonsterDatabase& db, MessageSink& messages,
                         QObject* parent)
    : QObject(parent), dir_(dir), db_(db), messages_(messages) {}

bool SaveCommand::SaveDatabase() {
    std::vector<FileIdentity> seen;
    if (mayWrite_ && !mayWrite_(seen)) {
        emit cancelled();
        return false;
    }
    QStringList strays;
    std::vector<FileIdentity> written;
    auto error = saveMonsterDatabase(dir_, db_, &strays, &written, mayWrite_ ? &seen : nullptr);
    // A temporary file that stays is named, so that the user can remove it by hand.
    QStringList lines;
    if (!strays.isEmpty()) {
        lines << u"以前の保存が残した一時ファイルを削除できませんでした:"_s;
        for (const QString& path : strays) lines << QDir::toNativeSeparators(path);
    }
    // a value refused before the first file was touched leaves every file as it was
    const bool refused = error && (error->kind == ErrorKind::Unencodable ||
                                   error->kind == ErrorKind::UnwritableField);
    if (!refused) emit wrote(!error, written);
    if (error) {
        lines.prepend(describeFailure(*error, db_, dir_.absolutePath()));
        messages_.warning(kSaveErrorTitle, MessageSink::joinLines(lines));
        emit failed(error->fileName);
        return false;
    }
    if (!lines.isEmpty()) {
        lines.prepend(u"保存しました"_s);
        messages_.warning(kSaveErrorTitle, MessageSink::joinLines(lines));
    }
    QStringList files;
    for (const Table* table : db_.saveOrder()) files << table->name();
    emit saved(files);
    return true;
}

QString SaveCommand::describeFailure(const StorageError& error, const MonsterDatabase& db,
                                     const QString& folder) {
    switch (error.kind) {
        case ErrorKind::Unencodable:
        case ErrorKind::UnwritableField: {
            QStringList lines{
                u"保存できない値があるため、保存を中止しました（どのファイルも書き換えていません）"_s,
                describeRecord(error, db)};
            if (error.field > 0) {
                lines << u"項目: %1（%2 番目の項目）"_s.arg(error.fieldName).arg(error.field);
            }
            if (!error.character.isEmpty()) {
                lines << refusedCharacterLine(error);
            }
            lines << u"値を直して「更新」してから、もう一度保存して下さい"_s;
            return MessageSink::joinLines(lines);
        }
        case ErrorKind::WriteFailed: {
            // A file replaced before its folder sync failed holds its new content all the same.
            QStringList written, kept;
            bool reached = false;
            for (const Table* table : db.saveOrder()) {
                const bool failing = table->name() == error.fileName;
                reached = reached || failing;
                (!reached || (failing && error.replaced) ? written : kept) << table->name();
            }
            const QString reason = systemReasonText(error.systemError, error.detail);
            QStringList lines;
            if (error.replaced) {
                lines
                    << u"ファイル %1 は新しい内容に置き換えましたが、ディスクへの書き込みを確かめられませんでした"_s
                           .arg(error.fileName)
                    << u"理由: %1"_s.arg(reason);
            } else if (error.folderError != 0) {
                lines << u"ファイル %1 を保存できませんでした"_s.arg(error.fileName)
                      << u"フォルダ %1 に一時ファイルを作れません: %2"_s.arg(
                             QDir::toNativeSeparators(folder),
                             systemReasonText(error.folderError,
                                              error.inPlace ? QString() : error.detail));
                if (error.inPlace) {
                    lines << u"ファイルをその場で書き換えることもできませんでした: %1"_s.arg(
                        reason);
                }
            } else {
                lines << u"ファイル %1 を書き込めませんでした"_s.arg(error.fileName)
                      << u"理由: %1"_s.arg(reason);
            }
            if (error.noRecoveryCopy) {
                lines
                    << u"書き換える前の内容の控えを %1 に作れなかったため、%2 は書き換えていません"_s
                           .arg(QDir::toNativeSeparators(error.recoveryCopy), error.fileName);
                if (!error.stateProblem.isEmpty()) {
                    lines << u"状態フォルダを使えません: %1"_s.arg(error.stateProblem);
                }
            }
            if (error.damaged) {
                lines << u"%1 は書き換えの途中で元の内容に戻せませんでした。中身を確かめて下さい"_s
                             .arg(error.fileName);
                if (!error.recoveryCopy.isEmpty()) {
                    lines << u"元の内容は %1 に残してあり、次の起動時に書き戻します"_s.arg(
                        QDir::toNativeSeparators(error.recoveryCopy));
                }
                kept.removeAll(error.fileName);
            }
            if (!error.leftover.isEmpty()) {
                lines << u"一時ファイル %1 を削除できませんでした"_s.arg(
                    QDir::toNativeSeparators(error.leftover));
            }
            lines << (written.isEmpty() ? u"保存済みのファイルはありません"_s
                                        : u"保存済みのファイル: %1"_s.arg(written.join(u", "_s)));
            if (!kept.isEmpty()) {
                lines << u"元の内容のままのファイル: %1"_s.arg(kept.join(u", "_s));
            }
            lines
                << u"メモリ上の編集内容はそのままです。原因を取り除いてから、もう一度保存して下さい"_s;
            return MessageSink::joinLines(lines);
        }
        case ErrorKind::ChangedWhileSaving: {
            QStringList written, kept;
            bool reached = false;
            for (const Table* table : db.saveOrder()) {
                reached = reached || table->name() == error.fileName;
                (reached ? kept : written) << table->name();
            }
            QStringList lines{
                u"ファイル %1 は保存中に他のプログラムによって変更、移動または置き換えられたため、保存を中止しました"_s
                    .arg(error.fileName),
                u"%1 には書き込んでいません"_s.arg(error.fileName)};
            if (error.damaged) {
                lines
                    << u"書き込み中に移動されたファイルを元の内容に戻せませんでした。元の内容は %1 に残してあります"_s
                           .arg(QDir::toNativeSeparators(error.recoveryCopy));
            }
            lines
                << (written.isEmpty() ? u"保存済みのファイルはありません"_s
                                      : u"保存済みのファイル: %1"_s.arg(written.join(u", "_s)))
                << u"書き込んでいないファイル: %1"_s.arg(kept.join(u", "_s))
                << u"メモリ上の編集内容はそのままです。他のプログラムの変更を確かめてから、もう一度保存して下さい"_s;
            return MessageSink::joinLines(lines);
        }
        default:
            return MessageSink::joinLines({u"保存中にエラーが発生しました"_s,
                                           u"エラー番号 "_s + QString::number(error.number()),
                                           error.fileName});
    }
}

}  // namespace mdb
