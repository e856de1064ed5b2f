#include "model/Table.h"

#include <limits>

namespace mdb {

Table::Table(QString name, QStringList fieldNames)
    : name_(std::move(name)), fieldNames_(std::move(fieldNames)) {
    clear();
}

int Table::fieldNumber(QStringView fieldName) const {
    for (int i = 0; i < fieldNames_.size(); ++i) {
        if (fieldNames_[i] == fieldName) return i + 1;
    }
    return 0;
}

QString Table::field(qint32 record, int field) const {
    return fieldView(record, field).toString();
}

QString Table::field(qint32 record, QStringView fieldName) const {
    return field(record, fieldNumber(fieldName));
}

bool Table::setField(qint32 record, int field, const QString& text) {
    if (record < 1 || !inRange(record, field)) return false;
    written_ = true;
    // a copy of its own, so that the new text can never be taken for a view of the source
    cells_.set(static_cast<size_t>(record) * fieldCount() + (field - 1),
               QString(text.constData(), text.size()));
    return true;
}

bool Table::setField(qint32 record, QStringView fieldName, const QString& text) {
    return setField(record, fieldNumber(fieldName), text);
}

bool Table::appendRecord(const QStringList& fields) {
    Q_ASSERT(fields.size() == fieldCount());
    if (count_ == std::numeric_limits<qint32>::max()) return false;
    for (int f = 0; f < fieldCount(); ++f) cells_.pushCopy(fields.value(f));
    ++count_;
    written_ = true;
    return true;
}

bool Table::appendRecord(const QStringView* fields) {
    if (count_ == std::numeric_limits<qint32>::max()) return false;
    for (int f = 0; f < fieldCount(); ++f) cells_.push(fields[f]);
    ++count_;
    written_ = true;
    return true;
}

QStringList Table::column(int field) const {
    QStringList out;
    if (field < 1 || field > fieldCount()) return out;
    out.reserve(count_ + 1);
    for (qint32 r = 0; r <= count_; ++r) {
        out.push_back(cells_.text(static_cast<size_t>(r) * fieldCount() + (field - 1)));
    }
    return out;
}

void Table::keepSource(QByteArray bytes, QString text) {
    sourceBegin_ = reinterpret_cast<quintptr>(text.constData());
    sourceEnd_ = sourceBegin_ + quintptr(text.size()) * sizeof(QChar);
    cells_.keep(std::move(text));  // a move keeps the characters where the views point
    sourceBytes_ = std::move(bytes);
    hasSource_ = true;
    written_ = false;
}

void Table::clear() {
    count_ = 0;
    sourceBytes_.clear();
    sourceBegin_ = sourceEnd_ = 0;
    hasSource_ = false;
    written_ = false;
    cells_.clear();
    cells_.resize(static_cast<size_t>(fieldCount()));  // position 0: empty views
}

void Table::reserve(qint32 records) {
    cells_.reserve((static_cast<size_t>(records) + 1) * fieldCount());
}

}  // namespace mdb
