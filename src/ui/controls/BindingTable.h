#pragma once

#include <QString>
#include <functional>
#include <vector>

class QLabel;
class QLineEdit;
class QObject;

namespace mdb {

class ListCore;
class Table;

// Which field of a record each control of an editor shows, written once, where the editor
// places its controls. Showing a record and committing into it both walk this one list, in
// the order the bindings were made, so a control can never show one field and commit another.
class BindingTable {
public:
    using Reader = std::function<QString()>;
    using Writer = std::function<void(const QString&)>;

    struct Binding {
        int field;         // 1-based field of the table
        QObject* control;  // the control, for diagnostics; may be null for a show-only hook
        Reader read;       // the text committed; null for a control that only shows the field
        Writer show;       // puts the field's text into the control; null to commit only
    };

    // A text box: shows the field as its text and commits its text unchanged.
    void bind(int field, QLineEdit* box);
    // A list box: commits the text of its selected row (empty with none); `show` selects the
    // row for a field's text as the editor's chain wants it (null: the list is never shown).
    void bind(int field, ListCore* list, QObject* control, Writer show);
    // A control that shows the field but is never committed (Id, the monster key, a name shown
    // in a second place).
    void bindShowOnly(int field, QObject* control, Writer show);
    void bindShowOnly(int field, QLineEdit* box);
    void bindShowOnly(int field, QLabel* label);
    // Anything else.
    void bind(Binding binding) { bindings_.push_back(std::move(binding)); }

    // Puts the fields of `record` into the controls, in binding order; each assignment raises
    // the control's own events. Record 0 (no record) shows empty texts.
    void showRecord(const Table& table, qint32 record) const;
    // Writes the committed controls' texts, unchanged, into `record`, in binding order.
    // Nothing is written outside records 1..Count.
    void commitInto(Table& table, qint32 record) const;
    // Whether any committed control holds a text other than the record's field that the user
    // put there: the editor holds edits not yet committed. A text the showing itself wrote (an
    // empty rate shown as "0") is no edit while the control still holds it.
    bool differsFrom(const Table& table, qint32 record) const;

    // The committed bindings whose control holds an edit of the user's to the record shown or
    // committed last (by the rule of differsFrom), in binding order.
    std::vector<const Binding*> editedBindings() const;
    // The record shown or committed last, -1 before the first.
    qint32 shownRecord() const { return untouchedRecord_; }

    // The fields the commit writes, in order.
    std::vector<int> committedFields() const;
    const std::vector<Binding>& bindings() const { return bindings_; }

private:
    // What the committed controls held once a record was shown and the chains its showing
    // raised had settled, or once they were committed: what the user has not touched.
    void noteUntouched(const Table& table, qint32 record) const;

    std::vector<Binding> bindings_;
    mutable std::vector<QString> untouched_;  // of this record of this table
    mutable const Table* untouchedTable_ = nullptr;
    mutable qint32 untouchedRecord_ = -1;
};

}  // namespace mdb
