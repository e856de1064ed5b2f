#include "app/ChangeWords.h"

#include <QHash>
#include <memory>

#include "model/MonsterDatabase.h"
#include "ui/editors/DependentEditor.h"
#include "ui/editors/EditorRegistry.h"
#include "ui/status/StatusEditor.h"

namespace mdb {

using namespace Qt::StringLiterals;

namespace {

QString rowCaption(const DependentEditor& editor, int field) {
    for (const DependentEditor::Row& row : editor.rows()) {
        if (row.field == field) return row.caption;
    }
    return {};
}

}  // namespace

PendingChangesModel::Words changeWords(const MonsterDatabase& db, const StatusEditor& status,
                                       const EditorRegistry& editors) {
    // The status record of each key, looked up only for the rows a view draws. Keys are never
    // written by an update, so the index holds for the window's life.
    auto byKey = std::make_shared<QHash<QString, qint32>>();
    const auto monster = [&db, byKey](const Table* table, qint32 record) {
        const Table& status = db.StatusTable;
        qint32 statusRecord = record;
        if (table != &status) {
            if (byKey->isEmpty()) {
                byKey->reserve(status.Count());
                for (qint32 r = status.Count(); r >= 2; --r) {
                    byKey->insert(status.field(r, StatusField::Name), r);  // the first wins
                }
            }
            statusRecord = byKey->value(table->field(record, 1), 0);
            if (statusRecord == 0) return table->field(record, 1);  // a key no monster has
        }
        return u"%1 (%2)"_s.arg(status.field(statusRecord, StatusField::DisplayName),
                                status.field(statusRecord, StatusField::Name));
    };
    const auto field = [&db, &status, &editors](const Table* table, int f) -> QString {
        if (table == &db.StatusTable) return status.captionOf(f);
        for (const EditorRegistry::Entry& entry : editors.entries()) {
            if (entry.editor->descriptor().fileName == table->name()) {
                return rowCaption(*entry.editor, f);
            }
        }
        return {};
    };
    return {monster, field};
}

QStringList editedCaptions(const StatusEditor& status, const EditorRegistry& editors) {
    QStringList captions = status.editedCaptions();
    for (const EditorRegistry::Entry& entry : editors.entries()) {
        for (const BindingTable::Binding* binding : entry.editor->bindings().editedBindings()) {
            QString caption = rowCaption(*entry.editor, binding->field);
            if (!captions.contains(caption)) captions << caption;
        }
    }
    return captions;
}

}  // namespace mdb
