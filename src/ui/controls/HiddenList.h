#pragma once

#include <QObject>

#include "ui/controls/ColumnModel.h"
#include "ui/controls/ListCore.h"

namespace mdb {

// A list box that is never shown: the rows of a (usually shared) column and a selected row.
// Changing the selection from code raises Click at once, clearing it to -1 included, as the
// lookups rely on; assigning the current selection raises nothing.
class HiddenList : public QObject, public ListCore {
    Q_OBJECT
    Q_PROPERTY(int listIndex READ listIndex WRITE setListIndex NOTIFY Click)
    Q_PROPERTY(int listCount READ listCount)
    Q_PROPERTY(QString text READ text)
public:
    // Shows `model`; without one the list owns a private, empty model.
    HiddenList(const QString& objectName, QObject* parent, ColumnModel* model = nullptr);

    ColumnModel* model() const { return columnModel(); }
    void setListIndex(int index) override { storeIndex(clamped(index)); }
    Q_INVOKABLE QString list(int row) const { return ListCore::list(row); }

signals:
    void Click();

private:
    void raiseClick() override { emit Click(); }
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
