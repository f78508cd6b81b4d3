#pragma once
// Runs a source engine to its end and keeps what it said: the rows, the
// status texts, the problems and the one outcome. Engine tests read this
// alone, without a window.
#include "sources/engine/source_engine.h"
#include "sources/source_table.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <memory>

namespace lumorra::testing {

struct EngineRun {
    QList<ListRow> rows;
    QStringList statuses;
    QStringList problems;
    QList<SourceOutcome> outcomes;   // exactly one when the run ended
    int progressSignals = 0;

    bool ended() const { return !outcomes.isEmpty(); }
    SourceOutcome outcome() const { return outcomes.value(0); }
    QString lastStatus() const { return statuses.value(statuses.size() - 1); }
    // The cells of `key`, row by row.
    QStringList column(const QString& key) const;
};

// Starts `request` on `engine` and waits for its end (up to `timeoutMs`),
// then a moment more, so a second ending or a late row would be seen.
EngineRun runEngine(SourceEngine& engine, const SourceRequest& request, int timeoutMs = 10000);

// A new engine of the table's source `verb id` (none when the table has no
// such row), without a parent.
std::unique_ptr<SourceEngine> tableEngine(SourceVerb verb, const QString& id,
                                          const Pacing& pacing = Pacing::immediate());

// Points every role of the sites table at the shared test server, with a
// short fetch time-out, and takes away any programmed misbehaviour.
void useTestSites(int fetchTimeoutMs = 1500);

} // namespace lumorra::testing
