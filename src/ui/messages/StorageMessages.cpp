#include "ui/messages/StorageMessages.h"

#include <errno.h>

#include <QDir>
#include <algorithm>

#include "ui/controls/MessageSink.h"

namespace mdb {

using namespace Qt::StringLiterals;

QString unknownErrorTitle() {
    return u"不明なエラー"_s;
}

QString unknownErrorText(const StorageError& error) {
    QStringList lines{u"不明なエラーが発生しました"_s,
                      u"エラー番号 "_s + QString::number(error.number())};
    if (!error.fileName.isEmpty()) lines << readFailureLine(error);
    return MessageSink::joinLines(lines);
}

QString brokenFileLine(const StorageError& error, int width) {
    const QString file = u"ファイル: "_s + error.fileName;
    switch (error.kind) {
        case ErrorKind::EndOfFileInRecord:
            return file +
                   u" — %1 件目のレコードの途中でファイルが終わります（%2 項目中 %3 項目しかありません）"_s
                       .arg(error.record)
                       .arg(width)
                       .arg(std::max(0, error.field - 1));
        case ErrorKind::MisalignedRecord:
            return file +
                   u" — %1 行目（%2 件目のレコード）の項目数が 1 レコードの %3 項目と合いません"_s
                       .arg(error.line)
                       .arg(error.record)
                       .arg(width);
        default:
            return file;
    }
}

QString readFailureLine(const StorageError& error) {
    QString words;
    switch (error.kind) {
        case ErrorKind::NotRegularFile:
            words = u"通常のファイルではありません"_s;
            break;
        case ErrorKind::FileTooLarge:
            words = u"ファイルが大きすぎます"_s;
            break;
        default:
            switch (error.systemError) {
                case EISDIR:
                    words = u"同じ名前のフォルダがあります"_s;
                    break;
                case EACCES:
                case EPERM:
                    words = u"読み取りが許可されていません"_s;
                    break;
                case ENOENT:
                    words = u"リンク先のファイルがありません"_s;
                    break;
                case ELOOP:
                    words = u"シンボリックリンクが循環しています"_s;
                    break;
                case EIO:
                    words = u"ディスクの読み書きに失敗しました"_s;
                    break;
                default:
                    break;
            }
    }
    const QString detail = error.kind == ErrorKind::FileTooLarge
                               ? u"%1 バイト。上限は 1 GiB"_s.arg(error.byteOffset)
                               : error.detail;
    QString reason = words.isEmpty() ? detail : words;
    if (!words.isEmpty() && !detail.isEmpty()) reason = u"%1（%2）"_s.arg(words, detail);
    return reason.isEmpty() ? u"ファイル: %1"_s.arg(error.fileName)
                            : u"ファイル: %1 — %2"_s.arg(error.fileName, reason);
}

QString badEncodingLine(const StorageError& error) {
    if (error.kind == ErrorKind::Utf8Text) {
        return u"%1: UTF-8 で保存されたファイルのようです。Shift_JIS (コードページ932) で保存し直して下さい"_s
            .arg(error.fileName);
    }
    if (error.byteOffset >= 0 && error.character == u"\0"_s) {
        return u"%1: NUL バイト (0x00) があります（%2 バイト目）"_s.arg(error.fileName)
            .arg(error.byteOffset + 1);
    }
    return u"%1: Shift_JIS (コードページ932) として読めないバイトがあります（%2 バイト目）"_s
        .arg(error.fileName)
        .arg(error.byteOffset + 1);
}

QString systemReasonText(int systemError, const QString& detail) {
    QString words;
    switch (systemError) {
        case ENOSPC:
            words = u"ディスクの空き容量が足りません"_s;
            break;
        case EDQUOT:
            words = u"ディスク使用量の上限を超えました"_s;
            break;
        case EIO:
            words = u"ディスクの読み書きに失敗しました"_s;
            break;
        case EACCES:
        case EPERM:
            words = u"書き込みが許可されていません"_s;
            break;
        case EROFS:
            words = u"読み取り専用の場所です"_s;
            break;
        case EISDIR:
            words = u"同じ名前のフォルダがあります"_s;
            break;
        case ENOENT:
            words = u"フォルダが見つかりません"_s;
            break;
        case EFBIG:
            words = u"ファイルが大きすぎます"_s;
            break;
        default:
            break;
    }
    if (words.isEmpty()) return detail;
    return detail.isEmpty() ? words : u"%1（%2）"_s.arg(words, detail);
}

namespace {

// A character as the user can find it again: itself when it is visible, always its code point.
QString describeCharacter(const QString& character) {
    const QList<uint> points = character.toUcs4();
    QStringList codes;
    for (char32_t c : points) {
        codes << u"U+%1"_s.arg(uint(c), 4, 16, QLatin1Char('0')).toUpper();
    }
    // a character outside the basic plane is two UTF-16 units, neither printable alone
    const bool visible = !points.isEmpty() && QChar::isPrint(points.front());
    const QString code = codes.join(u' ');
    return visible ? u"「%1」(%2)"_s.arg(character, code) : code;
}

}  // namespace

QString refusedCharacterLine(const StorageError& error) {
    const bool control = error.character.size() == 1 && error.character[0].unicode() < 0x20 &&
                         error.character[0] != u'\r' && error.character[0] != u'\n';
    const QString reason =
        error.kind == ErrorKind::Unencodable ? u"Shift_JIS (コードページ932) で表せない文字です"_s
        : control ? u"ファイルに書くと読み込めなくなる制御文字です"_s
                  : u"この項目には書けない文字です（ダブルクォート、改行、区切りのカンマ）"_s;
    return u"文字: %1 … %2"_s.arg(describeCharacter(error.character), reason);
}

QString appendFailureText(const StorageError& error) {
    if (error.kind == ErrorKind::Unencodable || error.kind == ErrorKind::UnwritableField) {
        QStringList lines{
            u"ファイル %1 に書けない値があるため、追加しませんでした"_s.arg(error.fileName),
            u"項目: %1（%2 番目の項目）"_s.arg(error.fieldName).arg(error.field)};
        if (!error.character.isEmpty()) lines << refusedCharacterLine(error);
        lines << u"値を直してから、もう一度追加して下さい"_s;
        return MessageSink::joinLines(lines);
    }
    if (error.kind == ErrorKind::NotRecordBoundary) {
        return MessageSink::joinLines(
            {u"ファイル %1 の末尾がレコードの区切りになっていないため、追加しませんでした"_s.arg(
                 error.fileName),
             u"（閉じていない引用符、行末のカンマ、または項目数の合わない最後のレコードがあります）"_s,
             u"ファイルの末尾を直してから、もう一度追加して下さい"_s});
    }
    QStringList lines{u"ファイル %1 に追加できませんでした"_s.arg(error.fileName)};
    if (error.kind == ErrorKind::WriteFailed) {
        lines << u"理由: %1"_s.arg(systemReasonText(error.systemError, error.detail));
        lines
            << (error.damaged
                    ? u"ファイルの末尾に書きかけの行が残っているおそれがあります。確かめて下さい"_s
                    : u"ファイルは元の内容のままです"_s);
    } else {
        lines << u"エラー番号 "_s + QString::number(error.number());
    }
    return MessageSink::joinLines(lines);
}

bool reportInterruptedRewrites(const RestoreReport& report, MessageSink& messages) {
    if (!report.restored.isEmpty()) {
        QStringList lines{u"前回の保存は、次のファイルを書き換えている途中で中断されていました:"_s};
        for (const QString& file : report.restored) lines << QDir::toNativeSeparators(file);
        lines << u"書きかけの内容は使わず、保存する前の内容に戻しました"_s;
        if (!report.keptAside.isEmpty()) {
            lines << u"戻す前にファイルにあった内容は、次の場所に残してあります:"_s;
            for (const QString& aside : report.keptAside) {
                lines << QDir::toNativeSeparators(aside);
            }
        }
        lines << u"中断された保存の変更は反映されていません。必要なら編集し直して保存して下さい"_s;
        messages.warning(u"ファイルの復旧"_s, MessageSink::joinLines(lines));
    }
    if (!report.refused.isEmpty()) {
        QStringList lines{
            u"状態フォルダにある次の控えは、開いたフォルダのファイルを指していないため使いませんでした:"_s};
        for (const QString& copy : report.refused) lines << QDir::toNativeSeparators(copy);
        lines << u"心当たりがなければ、これらのファイルを削除して下さい"_s;
        messages.warning(u"ファイルの復旧"_s, MessageSink::joinLines(lines));
    }
    if (!report.failure) return true;
    const StorageError& e = *report.failure;
    QStringList lines;
    if (e.fileName.isEmpty()) {
        lines << u"前回中断された保存の控え %1 が壊れています"_s.arg(
            QDir::toNativeSeparators(e.recoveryCopy));
    } else {
        lines << u"前回の保存が途中で中断されたファイル %1 を元に戻せませんでした"_s.arg(
                     QDir::toNativeSeparators(e.fileName))
              << u"理由: %1"_s.arg(systemReasonText(e.systemError, e.detail))
              << u"保存する前の内容は %1 に残してあります"_s.arg(
                     QDir::toNativeSeparators(e.recoveryCopy));
    }
    lines << u"ファイルを確かめるまでプログラムを起動出来ません"_s;
    messages.warning(u"ファイルの復旧"_s, MessageSink::joinLines(lines));
    return false;
}

}  // namespace mdb
