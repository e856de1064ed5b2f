#include "ui/controls/StorageMessages.h"

#include "ui/controls/MessageSink.h"

namespace mdb {

using namespace Qt::StringLiterals;

QString unknownErrorTitle() {
    return u"不明なエラー"_s;
}

QString unknownErrorText(const StorageError& error) {
    return MessageSink::joinLines(
        {u"不明なエラーが発生しました"_s, u"エラー番号 "_s + QString::number(error.number())});
}

QString badEncodingLine(const StorageError& error) {
    return u"%1: Shift_JIS (コードページ932) として読めないバイトがあります（%2 バイト目）"_s
        .arg(error.fileName)
        .arg(error.byteOffset + 1);
}

}  // namespace mdb
