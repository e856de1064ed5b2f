#pragma once

#include <QByteArrayView>
#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

#include "model/TableDescriptor.h"
#include "model/TextCells.h"

namespace mdb {

struct FieldChange;

// A table of text records: a fixed list of named fields, records numbered 1..Count in file
// order. Position 0 exists in every column and holds empty texts, so that list row p of a
// mirror list and record p + 1 line up without special cases.
class Table {
public:
    explicit Table(const TableDescriptor& descriptor);
    Table(QString name, QStringList fieldNames);

    const QString& name() const { return name_; }
    const QStringList& fieldNames() const { return fieldNames_; }
    int fieldCount() const { return static_cast<int>(fieldNames_.size()); }
    // 1-based position of a field by name, 0 when the table has no such field.
    int fieldNumber(QStringView fieldName) const;

    qint32 Count() const { return count_; }

    // Record 0..Count, field 1..fieldCount(); anything else reads as empty text.
    QString field(qint32 record, int field) const;
    QString field(qint32 record, QStringView fieldName) const;
    // The same without a copy; valid until the field is written or the table cleared.
    QStringView fieldView(qint32 record, int field) const {
        if (!inRange(record, field)) return {};
        return cells_.view(cellIndex(record, field));
    }
    // The text the field was loaded (or appended) with, whatever was written since: what the
    // mirror lists show until the next start. Valid until the table is cleared.
    QStringView loadedView(qint32 record, int field) const {
        if (!inRange(record, field)) return {};
        return cells_.loadedView(cellIndex(record, field));
    }
    // Writes only inside records 1..Count and fields 1..fieldCount(); returns false otherwise.
    bool setField(qint32 record, int field, const QString& text);
    bool setField(qint32 record, QStringView fieldName, const QString& text);
    // Puts a text recorded before back into a field, as undoing a change does. A field given
    // back the text it was loaded with holds the loaded text again, as if never written.
    bool restoreField(qint32 record, int field, const QString& text);
    // While set, every setField that changes a field's text is noted here (see ChangeRecording).
    void recordChangesInto(std::vector<FieldChange>* sink) { changes_ = sink; }
    // How many writes so far gave a field another text than it held: the difference across
    // an update is the number of fields it changed.
    quint64 changedWrites() const { return changedWrites_; }

    // Extends every column by one position. `fields` must hold exactly fieldCount() texts.
    // Returns false (and adds nothing) when the record count would pass 2147483647.
    bool appendRecord(const QStringList& fields);
    // The same for views into the text kept by keepSource() or keepBuffer() before; views into
    // anything else are stored as copies.
    bool appendRecord(const QStringView* fields);
    // Keeps a text that views of records appended after point into.
    void keepBuffer(QString buffer) { cells_.keep(std::move(buffer)); }
    // Keeps the file the records are about to be read from: its decoded text, which the views
    // of the records appended after point into, and its bytes as read. A save writes every field
    // that was not written since with exactly its bytes from here. `bytes` is left out when the
    // text encodes back to exactly the file's bytes: the writer then makes them again from the
    // text, and the file is not held twice.
    void keepSource(QString text, std::optional<QByteArray> bytes);
    // The size and content hash of the file as read (see FileIdentity), taken while its bytes
    // were at hand.
    void noteSourceDigest(qint64 size, QByteArray hash) {
        sourceSize_ = size;
        sourceHash_ = std::move(hash);
    }
    qint64 sourceSize() const { return sourceSize_; }
    const QByteArray& sourceHash() const { return sourceHash_; }
    const QString& sourceText() const { return cells_.source(); }
    // The file's bytes, when kept (see keepSource).
    const std::optional<QByteArray>& sourceBytes() const { return sourceBytes_; }
    bool hasSource() const { return hasSource_; }
    // The fields written since the load, as record, field and where their loaded text begins in
    // the source text, in file order; false when one of them was not loaded from the source.
    struct SourceField {
        qint32 record;
        int field;
        qsizetype offset;
    };
    bool writtenSourceFields(std::vector<SourceField>& out) const;
    // No field written since the source was kept.
    bool untouchedSinceLoad() const { return !written_; }
    // The field still holds the text it was read with (it has not been written since).
    bool fieldFromSource(qint32 record, int field) const {
        return hasSource_ && inRange(record, field) && !cells_.isCopy(cellIndex(record, field));
    }
    // All texts of one column, positions 0..Count (position 0 empty).
    QStringList column(int field) const;

    void clear();
    void reserve(qint32 records);
    // Room for the records of a file of `bytes`, counted from its line ends: one record a line
    // as the files are written, and never more cells than the file has bytes.
    void reserveFor(QByteArrayView bytes);

private:
    bool inRange(qint32 record, int field) const {
        return record >= 0 && record <= count_ && field >= 1 && field <= fieldCount();
    }
    size_t cellIndex(qint32 record, int field) const {
        return static_cast<size_t>(record) * size_t(fieldCount()) + size_t(field - 1);
    }

    QString name_;
    QStringList fieldNames_;
    qint32 count_ = 0;
    TextCells cells_;  // row-major; row 0 is the empty position
    std::optional<QByteArray> sourceBytes_;
    qint64 sourceSize_ = -1;
    QByteArray sourceHash_;
    bool hasSource_ = false;
    bool written_ = false;
    std::vector<FieldChange>* changes_ = nullptr;
    quint64 changedWrites_ = 0;
};

}  // namespace mdb
