#pragma once

#include <QString>

#include "ui/controls/ColumnModel.h"

namespace mdb {

// What every list box has in common, hidden or shown: the rows of a column, one selected row
// (-1 for none) and the Click raised whenever that selection changes, clearing it included.
// The visible list and the hidden list differ only in how they show the selection.
class ListCore {
public:
    virtual ~ListCore() = default;

    ColumnModel* columnModel() const { return model_; }
    int listIndex() const { return index_; }
    int listCount() const { return model_->count(); }
    // The selected row's text, empty with no selection.
    QString text() const { return model_->text(index_); }
    QString list(int row) const { return model_->text(row); }

    // Selects `index`; anything outside the rows clears the selection. Raises Click when the
    // selection changes, nested inside this call.
    virtual void setListIndex(int index) = 0;

protected:
    explicit ListCore(ColumnModel* model) : model_(model) {}

    // -1 for anything outside the rows.
    int clamped(int index) const { return index < -1 || index >= listCount() ? -1 : index; }
    // Records the selection and raises Click when it changed.
    void storeIndex(int index) {
        if (index == index_) return;
        index_ = index;
        raiseClick();
    }
    virtual void raiseClick() = 0;

private:
    ColumnModel* model_;
    int index_ = -1;
};

}  // namespace mdb
