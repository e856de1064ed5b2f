#include "ui/about/SystemInfo.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>

#include "storage/Cp932.h"
#include "ui/controls/MessageSink.h"

namespace mdb {

using namespace Qt::StringLiterals;

namespace {

// the size of the buffer a value is read into; anything longer is cut there
constexpr qsizetype valueBufferSize = 1024;

}  // namespace

bool DetachedProgramLauncher::start(const QString& program) {
    return QProcess::startDetached(program, {});
}

std::optional<QString> GetKeyValue(const KeyValueStore& store, KeyValueStore::Root root,
                                   const QString& key, const QString& valueName) {
    const auto value = store.query(root, key, valueName);
    if (!value) return std::nullopt;
    QByteArray bytes = value->bytes.left(valueBufferSize);
    switch (value->type) {
        case KeyValueStore::TextType: {
            if (bytes.endsWith('\0')) bytes.chop(1);
            // text that does not decode names no program that could be started
            return cp932::decode(bytes);
        }
        case KeyValueStore::NumberType: {
            // stored from its lowest byte up
            quint32 number = 0;
            for (qsizetype i = qMin<qsizetype>(bytes.size(), 4) - 1; i >= 0; --i) {
                number = (number << 8) | quint8(bytes[i]);
            }
            return QString::number(number);
        }
        default:
            return QString();
    }
}

void StartSysInfo(const KeyValueStore& store, ProgramLauncher& launcher, MessageSink& messages) {
    const auto root = KeyValueStore::Root::LocalMachine;
    if (const auto path =
            GetKeyValue(store, root, u"SOFTWARE\\Microsoft\\Shared Tools\\MSINFO"_s, u"PATH"_s)) {
        if (launcher.start(*path)) return;
    } else if (const auto folder = GetKeyValue(
                   store, root, u"SOFTWARE\\Microsoft\\Shared Tools Location"_s, u"MSINFO"_s)) {
        const QString program = QDir(*folder).filePath(u"MSINFO32.EXE"_s);
        if (QFileInfo::exists(program) && launcher.start(program)) return;
    }
    messages.notice(u"現時点ではｼｽﾃﾑ情報を使用できません"_s);
}

}  // namespace mdb
