#pragma once
// How GoogleTest prints the Qt and model values of a failed expectation: as text, not as the
// bytes of the object. Every test target includes this header first (see tests/CMakeLists.txt),
// so that no test has to remember it.

#include <QByteArray>
#include <QSize>
#include <QString>
#include <QStringList>
#include <ostream>

#include "model/FieldDescriptor.h"
#include "model/TableId.h"

inline void PrintTo(const QString& text, std::ostream* out) {
    *out << '"' << text.toStdString() << '"';
}

inline void PrintTo(QStringView text, std::ostream* out) {
    PrintTo(text.toString(), out);
}

inline void PrintTo(const QStringList& list, std::ostream* out) {
    *out << '{';
    for (qsizetype i = 0; i < list.size(); ++i) {
        if (i) *out << ", ";
        PrintTo(list[i], out);
    }
    *out << '}';
}

inline void PrintTo(const QByteArray& bytes, std::ostream* out) {
    *out << "bytes \"" << bytes.toHex(' ').toStdString() << '"';
}

inline void PrintTo(const QSize& size, std::ostream* out) {
    *out << size.width() << 'x' << size.height();
}

namespace mdb {

inline void PrintTo(TableId id, std::ostream* out) {
    static const char* const names[] = {"Status", "Drop",   "Mvp",  "Morph",
                                        "Emote",  "Summon", "Slave"};
    static_assert(std::size(names) == kTableCount);
    *out << "TableId::" << names[indexOf(id)];
}

inline void PrintTo(FieldRole role, std::ostream* out) {
    static const char* const names[] = {"Key",   "MonsterReference", "ItemReference", "Rate",
                                        "Count", "Number",           "Text"};
    *out << "FieldRole::" << names[static_cast<int>(role)];
}

}  // namespace mdb
