#pragma once

#include <QString>

#include "storage/RecoveryCopy.h"
#include "storage/StorageError.h"

namespace mdb {

// Texts shared by the messages that report a failed read of a database file.
QString unknownErrorTitle();
// "不明なエラーが発生しました", the error's number on a second line and, when the error names a
// file, readFailureLine on a third.
QString unknownErrorText(const StorageError& error);
// The file that could not be read and why, in words with the system's own text beside them
// ("ファイル: mob_drop_db.txt — 読み取りが許可されていません（Permission denied）").
QString readFailureLine(const StorageError& error);
// Which file a missing-file or broken-layout failure concerns and, for a broken layout, the
// line and what is wrong with it; `width` is the number of fields of one record of that file
// ("ファイル: mob_drop_db.txt — 12 行目（11 件目のレコード）の項目数が …").
QString brokenFileLine(const StorageError& error, int width);
// Why a file could not be decoded, naming the file and the first bad byte.
QString badEncodingLine(const StorageError& error);
// The system's reason for a failed write, in words for the user with the system's own text
// beside them ("ディスクの空き容量が足りません（No space left on device）").
QString systemReasonText(int systemError, const QString& detail);
// The character that made a value unwritable, and why: "文字: 「,」(U+002C) … reason".
QString refusedCharacterLine(const StorageError& error);
// The message for a failed append of one record line to `error.fileName`: a file that does
// not end between records, a value the line cannot hold (naming the field), or a failed write
// with what became of the file.
QString appendFailureText(const StorageError& error);

class MessageSink;

// Tells the user which files a crash had left half rewritten and that they hold their old
// content again; when one could not be put back, which one, why and where its old bytes are.
// False when the start must stop, so that a half-written file is never loaded.
bool reportInterruptedRewrites(const RestoreReport& report, MessageSink& messages);

}  // namespace mdb
