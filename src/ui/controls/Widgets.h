#pragma once

#include <QString>

class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QWidget;

namespace mdb {

// Small builders for controls placed at fixed positions inside a frame (pixels).
QGroupBox* makeFrame(const QString& objectName, const QString& caption, QWidget* parent);
QLabel* makeLabel(const QString& caption, QWidget* parent, int x, int y, int w, int h = 20);
QLineEdit* makeTextBox(const QString& objectName, QWidget* parent, int x, int y, int w, int h = 20);
QPushButton* makeButton(const QString& objectName, const QString& caption, QWidget* parent, int x,
                        int y, int w, int h = 22);
// objectName of a member of a control array: "Text1(5)".
QString indexed(const QString& name, int index);

// Lets every text box under `root` hold any value a database file can: Qt cuts a box's text at
// 32,767 characters by default, and a value cut there would be committed and saved cut short.
void letTextBoxesHoldAnyValue(QWidget* root);

}  // namespace mdb
