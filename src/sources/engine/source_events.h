#pragma once
// Where every engine made from the table of sources reports its ending, with
// the row it was made from: for listeners that follow every source at once
// (the first-run tour, a per-source status) without knowing any page.
#include "sources/engine/source_engine.h"

#include <QObject>

namespace lumorra {

struct SourceEntry;

class SourceEvents : public QObject {
    Q_OBJECT
public:
    static SourceEvents& instance();

signals:
    // A run of an engine of `source` came to its end (rows, none, failed,
    // superseded or cancelled).
    void ended(const lumorra::SourceEntry* source, const lumorra::SourceOutcome& outcome);

private:
    SourceEvents() = default;
};

} // namespace lumorra
