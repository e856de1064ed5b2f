#include "ui/controls/Widgets.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <limits>

#include "storage/FileRead.h"

namespace mdb {

QGroupBox* makeFrame(const QString& objectName, const QString& caption, QWidget* parent) {
    auto* frame = new QGroupBox(caption, parent);
    frame->setObjectName(objectName);
    return frame;
}

QLabel* makeLabel(const QString& caption, QWidget* parent, int x, int y, int w, int h) {
    auto* label = new QLabel(caption, parent);
    label->setGeometry(x, y, w, h);
    return label;
}

QLineEdit* makeTextBox(const QString& objectName, QWidget* parent, int x, int y, int w, int h) {
    auto* box = new QLineEdit(parent);
    box->setObjectName(objectName);
    box->setGeometry(x, y, w, h);
    return box;
}

QPushButton* makeButton(const QString& objectName, const QString& caption, QWidget* parent, int x,
                        int y, int w, int h) {
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(objectName);
    button->setGeometry(x, y, w, h);
    return button;
}

// A file the reader takes holds at most this many bytes, and no character is less than one
// byte, so no field is longer than a box can hold: none is ever shown, or committed, cut short.
constexpr int kTextBoxCapacity = std::numeric_limits<int>::max();
static_assert(kMaxDatabaseFileSize <= kTextBoxCapacity);

void letTextBoxesHoldAnyValue(QWidget* root) {
    for (QLineEdit* box : root->findChildren<QLineEdit*>()) box->setMaxLength(kTextBoxCapacity);
}

QString indexed(const QString& name, int index) {
    return name + QLatin1Char('(') + QString::number(index) + QLatin1Char(')');
}

}  // namespace mdb
