#include "ui/controls/ChainTrace.h"

#include <QByteArray>
#include <QObject>

namespace mdb {

Q_LOGGING_CATEGORY(lcChains, "mdb.chains", QtWarningMsg)

namespace {

// all handlers run on the window's thread
int currentDepth = 0;
int deepestDepth = 0;

}  // namespace

ChainScope::ChainScope(const char* handler) {
    ++currentDepth;
    deepestDepth = std::max(deepestDepth, currentDepth);
    qCDebug(lcChains).noquote() << QByteArray(2 * (currentDepth - 1), ' ') + handler;
    Q_ASSERT_X(currentDepth < MaxChainDepth, handler, "runaway chain of event handlers");
}

ChainScope::ChainScope(const QObject* control, const char* event) {
    ++currentDepth;
    deepestDepth = std::max(deepestDepth, currentDepth);
    // the name is looked up only while the trace is on
    qCDebug(lcChains).noquote() << QString(2 * (currentDepth - 1), u' ') +
                                       (control ? control->objectName() : QString()) + u'.' +
                                       QLatin1StringView(event);
    Q_ASSERT_X(currentDepth < MaxChainDepth, event, "runaway chain of event handlers");
}

ChainScope::~ChainScope() {
    --currentDepth;
}

int ChainScope::deepest() {
    return deepestDepth;
}

void ChainScope::resetDeepest() {
    deepestDepth = currentDepth;
}

}  // namespace mdb
