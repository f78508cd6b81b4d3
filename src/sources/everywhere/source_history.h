#pragma once
// Each source's last outcome since the program started, whoever ran it (a
// page, the tour, the search over every source): for the site status.
#include "sources/engine/source_engine.h"

#include <QDateTime>
#include <QHash>
#include <QObject>
#include <QString>

namespace lumorra {

struct SourceEntry;

struct SourceRecord {
    SourceOutcome outcome;
    QDateTime at;
};

class SourceHistory : public QObject {
    Q_OBJECT
public:
    // Made (and listening) on first use; call it once at start-up.
    static SourceHistory& instance();

    // The last outcome of `source` that came to an end of its own (rows,
    // none, failed); null when it has not run.
    const SourceRecord* last(const SourceEntry* source) const;

signals:
    void recorded(const lumorra::SourceEntry* source);

private:
    SourceHistory();
    QHash<const SourceEntry*, SourceRecord> m_last;
};

} // namespace lumorra
