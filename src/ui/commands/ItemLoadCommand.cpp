#include "ui/commands/ItemLoadCommand.h"

#include <QCursor>
#include <QGuiApplication>

#include "storage/DatabaseFiles.h"
#include "storage/StorageError.h"
#include "ui/controls/ColumnModel.h"
#include "ui/controls/MessageSink.h"
#include "ui/messages/StorageMessages.h"
#include "ui/models/MirrorModels.h"

namespace mdb {

using namespace Qt::StringLiterals;

namespace {

const QString kOpenError = u"ファイルオープンエラー"_s;

// Keeps the wait cursor up while the files are read, also when the read fails.
class WaitCursor {
public:
    WaitCursor() {
        if (qobject_cast<QGuiApplication*>(QCoreApplication::instance())) {
            QGuiApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
            active_ = true;
        }
    }
    ~WaitCursor() {
        if (active_) QGuiApplication::restoreOverrideCursor();
    }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;

private:
    bool active_ = false;
};

}  // namespace

ItemLoadCommand::ItemLoadCommand(const QDir& dir, ItemDatabase& items, MirrorModels& models,
                                 MessageSink& messages, QObject* parent)
    : QObject(parent), dir_(dir), items_(items), models_(models), messages_(messages) {}

const QString& ItemLoadCommand::clearRowName() {
    static const QString name = u"設 定 解 除"_s;
    return name;
}

const QString& ItemLoadCommand::clearRowId() {
    static const QString id = u"0"_s;
    return id;
}

void ItemLoadCommand::LoadItemDatabases() {
    // The clear entry is a row of its own, put in before anything is read: an item always
    // keeps its own row, and a load that fails half way still offers a way to clear a slot.
    if (models_.itemIds->count() == 0) {
        models_.itemIds->appendRows({clearRowId()});
        models_.itemNames->appendRows({clearRowName()});
    }

    std::optional<StorageError> error;
    {
        const WaitCursor wait;
        error = loadItemDatabase(dir_, items_);
    }

    // The tables keep what was read before a failure; those items are offered all the same.
    // One batch per column: a row-by-row insert would have every bound view react each time.
    // The rows read the tables' texts, which the models keep: a later load gives the tables
    // new texts and leaves these rows as they are.
    std::vector<std::shared_ptr<const ItemTexts>> texts;
    for (const ItemTable* table : items_.loadOrder()) {
        for (auto& part : table->texts()) texts.push_back(std::move(part));
    }
    models_.itemIds->appendItemRows(texts, ColumnModel::ItemColumn::Id);
    models_.itemNames->appendItemRows(texts, ColumnModel::ItemColumn::Name);
    // the editors look item IDs up on every monster shown: the load, which the user waits
    // for anyway, builds their index
    models_.itemIds->indexNow();

    if (error) {
        reportFailure(*error);
    } else if (items_.totalCount() == 0) {
        messages_.notice(u"アイテムデータが１件も見つかりませんでした"_s);
    } else {
        QList<qint32> counts;
        for (const ItemTable* table : items_.loadOrder()) counts << table->Count();
        emit loaded(counts);
    }
}

void ItemLoadCommand::reportFailure(const StorageError& error) {
    switch (error.kind) {
        case ErrorKind::FileNotFound:
            messages_.warning(
                kOpenError, MessageSink::joinLines(
                                {u"読み込みに必要なアイテムデータベースファイルが見つかりません"_s,
                                 u"必要なデータベース全てを実行フォルダへ用意して下さい"_s}));
            return;
        case ErrorKind::EndOfFileInRecord:
        case ErrorKind::MisalignedRecord:
            messages_.warning(
                kOpenError,
                MessageSink::joinLines(
                    {u"データベースファイル形式が不正です"_s,
                     u"空白行や//で始まる行、または未入力項目や適正値超過・入力列超過"_s,
                     u"などが データベース内に存在すると読み込み出来ません"_s}));
            return;
        case ErrorKind::BadEncoding:
        case ErrorKind::Utf8Text:
            // The number alone would not tell the user which file to mend.
            messages_.warning(
                kOpenError, MessageSink::joinLines(
                                {u"データベースファイル形式が不正です"_s, badEncodingLine(error),
                                 u"このファイルと後のファイルのアイテムは読み込まれていません"_s}));
            return;
        default:
            messages_.warning(unknownErrorTitle(), unknownErrorText(error));
            return;
    }
}

}  // namespace mdb
