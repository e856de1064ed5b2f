#pragma once

#include <QString>

#include "storage/StorageError.h"

namespace mdb {

// Texts shared by the messages that report a failed read of a database file.
QString unknownErrorTitle();
// "不明なエラーが発生しました" and the error's number on a second line.
QString unknownErrorText(const StorageError& error);
// Why a file could not be decoded, naming the file and the first bad byte.
QString badEncodingLine(const StorageError& error);

}  // namespace mdb
