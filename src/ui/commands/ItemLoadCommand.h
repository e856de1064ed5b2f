#pragma once

#include <QDir>
#include <QObject>

#include "model/ItemDatabase.h"

class QWidget;

namespace mdb {

class MessageSink;
class MirrorModels;
struct StorageError;

// Reads the three item files and offers their items, by ID and by name, to the item slots of
// the drop and MVP editors. Row 0 of both item columns is the clear entry; the items follow in
// file order (consume, drop, equipment) from row 1 on.
class ItemLoadCommand : public QObject {
    Q_OBJECT
public:
    ItemLoadCommand(const QDir& dir, ItemDatabase& items, MirrorModels& models,
                    MessageSink& messages, QObject* parent = nullptr);

    void LoadItemDatabases();

    static const QString& clearRowName();  // "設 定 解 除"
    static const QString& clearRowId();    // "0"

signals:
    // All three files were read: the number of items of each, in load order.
    void loaded(const QList<qint32>& counts);

private:
    void reportFailure(const StorageError& error);

    QDir dir_;
    ItemDatabase& items_;
    MirrorModels& models_;
    MessageSink& messages_;
};

}  // namespace mdb
