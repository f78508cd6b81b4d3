#include "sources/everywhere/source_history.h"

#include "sources/engine/source_events.h"
#include "sources/source_table.h"

namespace lumorra {

SourceHistory& SourceHistory::instance()
{
    static SourceHistory* history = new SourceHistory; // lives as long as the process
    return *history;
}

SourceHistory::SourceHistory()
{
    connect(&SourceEvents::instance(), &SourceEvents::ended, this,
            [this](const SourceEntry* source, const SourceOutcome& outcome) {
        // A run cut short says nothing about its site.
        if (!outcome.completed() && !outcome.failed())
            return;
        m_last.insert(source, SourceRecord{outcome, QDateTime::currentDateTime()});
        emit recorded(source);
    });
}

const SourceRecord* SourceHistory::last(const SourceEntry* source) const
{
    const auto it = m_last.constFind(source);
    return it == m_last.constEnd() ? nullptr : &*it;
}

} // namespace lumorra
