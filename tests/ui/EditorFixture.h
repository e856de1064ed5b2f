#pragma once

#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QTest>

#include "WindowFixture.h"
#include "ui/controls/HiddenList.h"

namespace mdb::test {

// A main window whose dependent editors are driven as a user would drive them.
class EditorFixture : public WindowFixture {
protected:
    // Shows the monster whose status Name is `name`, as picking it in the list would.
    void show(const QString& name) {
        const int record = statusRecord(name);
        ASSERT_GT(record, 1) << name.toStdString();
        control<QLineEdit>(QStringLiteral("Text0"))->setText(QString::number(record - 1));
        ASSERT_EQ(text(QStringLiteral("Text2A")), name);
    }
    // The status record of a monster key, as the status mirror lists hold it.
    int statusRecord(const QString& name) const {
        return int(window->database().StatusTable.column(StatusField::Name).indexOf(name));
    }
    // Lets the user reach a dependent frame, as the wider view modes do.
    void enableFrame(const QString& frame) { control<QGroupBox>(frame)->setEnabled(true); }

    void typeInto(const QString& box, const QString& keys) {
        QLineEdit* edit = control<QLineEdit>(box);
        edit->selectAll();
        if (keys.isEmpty()) {
            QTest::keyClick(edit, Qt::Key_Delete);
        } else {
            QTest::keyClicks(edit, keys);
        }
    }
    QComboBox* combo(const QString& name) const { return control<QComboBox>(name); }
    HiddenList* list(const QString& name) const { return control<HiddenList>(name); }
    QString caption(const QString& label) const { return control<HiddenLabel>(label)->caption(); }
    QString text(const QString& box) const { return control<QLineEdit>(box)->text(); }
};

}  // namespace mdb::test
