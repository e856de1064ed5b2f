#pragma once

#include <QString>

namespace mdb {

// The version line of the about box. The zeros before the minor and revision numbers are part
// of the text, not a padding: 2, 5, 83 reads "Version 2.05.0083" and a minor number of 12
// reads ".012".
inline QString versionText(int major, int minor, int revision) {
    return QStringLiteral("Version ") + QString::number(major) + QStringLiteral(".0") +
           QString::number(minor) + QStringLiteral(".00") + QString::number(revision);
}

}  // namespace mdb
