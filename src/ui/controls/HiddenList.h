#pragma once

#include <QObject>
#include <QPointer>

#include "ui/controls/ColumnModel.h"

namespace mdb {

// A list box that is never shown: the rows of a (usually shared) column and a selected row.
// Changing the selection from code raises Click at once, clearing it to -1 included, as the
// lookups rely on; assigning the current selection raises nothing.
class HiddenList : public QObject {
    Q_OBJECT
    Q_PROPERTY(int listIndex READ listIndex WRITE setListIndex NOTIFY Click)
    Q_PROPERTY(int listCount READ listCount)
    Q_PROPERTY(QString text READ text)
public:
    // Shows `model`; without one the list owns a private, empty model.
    HiddenList(const QString& objectName, QObject* parent, ColumnModel* model = nullptr);

    ColumnModel* model() const { return model_; }
    int listIndex() const { return index_; }
    void setListIndex(int index);
    int listCount() const { return model_->count(); }
    QString text() const { return model_->text(index_); }
    Q_INVOKABLE QString list(int row) const { return model_->text(row); }

signals:
    void Click();

private:
    ColumnModel* model_;
    int index_ = -1;
};

// A label that is never shown; writing a different caption raises Change.
class HiddenLabel : public QObject {
    Q_OBJECT
    Q_PROPERTY(QString caption READ caption WRITE setCaption NOTIFY Change)
public:
    HiddenLabel(const QString& objectName, QObject* parent);

    const QString& caption() const { return caption_; }
    void setCaption(const QString& caption);

signals:
    void Change();

private:
    QString caption_;
};

}  // namespace mdb
