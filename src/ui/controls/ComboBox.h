#pragma once

#include <QComboBox>

#include "ui/controls/ColumnModel.h"

namespace mdb {

// A drop-down list over a shared column. It starts with no selection and never selects a row
// on its own when rows arrive, so that filling a column raises no Click; a combo over tens of
// thousands of rows does not measure every row. The wheel changes it only while it has the
// keyboard focus.
QComboBox* makeComboBox(const QString& objectName, ColumnModel* model, QWidget* parent,
                        int minimumChars = 8);

}  // namespace mdb
