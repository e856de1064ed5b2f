#pragma once
// Records for test databases and benchmarks, made from the table descriptors: a field gets a
// value its role allows unless the caller sets it, so that a field added to a table needs no
// change in any fixture.

#include <QString>
#include <QStringList>
#include <map>

#include "model/TableDescriptor.h"

namespace mdb::fixture {

// A value of a field's role that every editor shows and writes back unchanged.
inline QString defaultValue(const FieldDescriptor& field, const QString& key) {
    switch (field.role) {
        case FieldRole::Key:
            return key;
        case FieldRole::MonsterReference:
            return QString();
        case FieldRole::Text:
            return key;
        case FieldRole::Count:
            return field.countRule == CountRule::AtLeastOne ? QStringLiteral("1")
                                                            : QStringLiteral("0");
        case FieldRole::ItemReference:
        case FieldRole::Rate:
        case FieldRole::Number:
            return QStringLiteral("0");
    }
    return QString();
}

// The fields of one record of `table` for the monster `key`; `set` gives fields by number.
inline QStringList record(TableId table, const QString& key,
                          const std::map<int, QString>& set = {}) {
    const TableDescriptor& d = Tables::of(table);
    QStringList fields;
    for (int f = 1; f <= d.fieldCount(); ++f) {
        const auto it = set.find(f);
        fields << (it != set.end() ? it->second : defaultValue(d.field(f), key));
    }
    return fields;
}

// The record as a line of its file: the table's quoted field in double quotes, ended by CR LF.
inline QString line(TableId table, const QStringList& fields) {
    const int quoted = Tables::of(table).quotedField;
    QStringList written = fields;
    if (quoted > 0 && quoted <= written.size()) {
        written[quoted - 1] = u'"' + written[quoted - 1] + u'"';
    }
    return written.join(u',') + QStringLiteral("\r\n");
}

}  // namespace mdb::fixture
