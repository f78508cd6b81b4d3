#pragma once
// The rows of many sources as one list, one row per resource. Rows are
// merged as they arrive: a resource listed again (by the same source or
// another) names that source too and fills what it lacked; a better link
// replaces a worse one, and a source earlier in the table has the last word
// on the rest, so a merged row does not depend on which site was faster.
// Appending is linear in the rows.
#include "sources/everywhere/found_resource.h"

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

namespace lumorra {

struct SourceEntry;

struct MergedRow {
    FoundResource resource;
    QString key;
    QList<const SourceEntry*> sources;   // in table order

    // The ids of its sources, comma-separated, in table order.
    QString sourceIds() const;
};

class MergedResults {
public:
    // The columns of the merged rows, in order.
    static const QStringList& columns();   // xh mc dx rq link zzdz source

    // What one add() did: rows appended at the end (first index, count) and
    // earlier rows that changed.
    struct Change {
        int firstNew = 0;
        int newCount = 0;
        QList<int> changed;   // ascending, each once, all below firstNew
        bool namesChanged = false;  // a changed row got another name
    };

    Change add(const SourceEntry& source, const QList<ListRow>& rows);
    void clear();

    int size() const { return int(m_rows.size()); }
    const MergedRow& at(int i) const { return m_rows.at(i); }
    const QList<MergedRow>& rows() const { return m_rows; }
    // Row i in the columns above ("xh" is its number, from 1).
    ListRow listRow(int i) const;
    QList<ListRow> listRows() const;

private:
    QList<MergedRow> m_rows;
    QHash<QString, int> m_byKey;
};

} // namespace lumorra
