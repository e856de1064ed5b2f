#pragma once

// A state folder of one test's own, and a way to see that a folder was left exactly as it was.

#include <sys/stat.h>

#include <QByteArray>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <map>

namespace mdb::test {

// XDG_STATE_HOME pointed at an empty folder for as long as this lives.
class FreshStateHome {
public:
    FreshStateHome() : previous_(qgetenv("XDG_STATE_HOME")) {
        qputenv("XDG_STATE_HOME", QFile::encodeName(home_.path()));
    }
    ~FreshStateHome() { qputenv("XDG_STATE_HOME", previous_); }
    FreshStateHome(const FreshStateHome&) = delete;
    FreshStateHome& operator=(const FreshStateHome&) = delete;

    QString path() const { return home_.path(); }

private:
    QTemporaryDir home_;
    QByteArray previous_;
};

// Every name under `root` with what it is and holds (a file's mode and bytes, a symlink's
// target, a folder's mode), looked at without following a symlink.
inline std::map<QString, QByteArray> treeOf(const QString& root) {
    std::map<QString, QByteArray> out;
    QDirIterator it(root, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString name = it.next();
        struct stat st {};
        if (::lstat(QFile::encodeName(name).constData(), &st) != 0) continue;
        QByteArray what = QByteArray::number(st.st_mode, 8) + ' ' + QByteArray::number(st.st_uid);
        if (S_ISLNK(st.st_mode)) {
            what += " -> " + QFile::encodeName(QFileInfo(name).symLinkTarget());
        } else if (S_ISREG(st.st_mode)) {
            QFile file(name);
            what += ' ' + (file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("?"));
        }
        out[name.sliced(root.size())] = what;
    }
    return out;
}

}  // namespace mdb::test
