#pragma once

#include <QLoggingCategory>

class QObject;

namespace mdb {

// Traces the event handlers as they run, nested as they nest; enable with
// QT_LOGGING_RULES="mdb.chains.debug=true" to see the order of a chain instead of guessing it.
Q_DECLARE_LOGGING_CATEGORY(lcChains)

// Marks one run of an event handler: counts how deeply handlers are nested inside each other
// and, in debug builds, asserts that a chain stays below MaxChainDepth, so that two handlers
// that keep re-raising each other fail at once instead of overflowing the stack.
class ChainScope {
public:
    static constexpr int MaxChainDepth = 48;

    explicit ChainScope(const char* handler);
    // A handler of one control's event, traced with the control's object name, so that the
    // trace tells the instance and the slot ("List10(3).Click").
    ChainScope(const QObject* control, const char* event);
    ~ChainScope();
    ChainScope(const ChainScope&) = delete;
    ChainScope& operator=(const ChainScope&) = delete;

    // The deepest nesting seen since the last reset (for tests and benchmarks).
    static int deepest();
    static void resetDeepest();
};

}  // namespace mdb

// One line at the top of a handler: MDB_CHAIN("Text5.Change");
#define MDB_CHAIN(handler) const ::mdb::ChainScope mdbChainScope_(handler)
// The same for the event of a control: MDB_CHAIN_ON(Text5[i], "Change ResolveDropItem");
#define MDB_CHAIN_ON(control, event) const ::mdb::ChainScope mdbChainScope_(control, event)
