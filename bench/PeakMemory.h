#pragma once

#include <QByteArray>
#include <QFile>

namespace mdb::bench {

// Peak resident memory of this process so far, in bytes; -1 when it cannot be read.
inline qint64 peakResident() {
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly)) return -1;
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').value(0).toLongLong() * 1024;
    }
    return -1;
}

}  // namespace mdb::bench
