#include "ui/controls/ChainTrace.h"

#include <QByteArray>

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

ChainScope::~ChainScope() {
    --currentDepth;
}

int ChainScope::depth() {
    return currentDepth;
}

int ChainScope::deepest() {
    return deepestDepth;
}

void ChainScope::resetDeepest() {
    deepestDepth = currentDepth;
}

}  // namespace mdb
