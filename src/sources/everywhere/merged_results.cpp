#include "sources/everywhere/merged_results.h"

#include "sources/source_table.h"

#include <algorithm>

namespace lumorra {

namespace {

int tablePosition(const SourceEntry* entry)
{
    const QList<SourceEntry>& table = sourceTable();
    return int(entry - table.constData());
}

// The two rows are one resource. What `into` lacks comes from `other`; when
// `other` comes from a source earlier in the table, what it has wins, so a
// merged row reads the same whichever site answered first.
bool absorb(FoundResource& into, const FoundResource& other, bool otherFirst)
{
    bool changed = false;
    auto take = [&changed, otherFirst](QString& mine, const QString& theirs) {
        if (!theirs.isEmpty() && (mine.isEmpty() || (otherFirst && mine != theirs))) {
            mine = theirs;
            changed = true;
        }
    };
    take(into.name, other.name);
    take(into.size, other.size);
    take(into.date, other.date);
    take(into.detail, other.detail);
    take(into.torrent, other.torrent);
    if (int(other.linkKind) < int(into.linkKind)
        || (otherFirst && other.linkKind == into.linkKind && other.link != into.link)) {
        into.link = other.link;
        into.linkKind = other.linkKind;
        changed = true;
    }
    return changed;
}

} // namespace

QString MergedRow::sourceIds() const
{
    QStringList ids;
    ids.reserve(sources.size());
    for (const SourceEntry* s : sources)
        ids << s->id;
    return ids.join(u',');
}

const QStringList& MergedResults::columns()
{
    static const QStringList keys{QStringLiteral("xh"),   QStringLiteral("mc"),   QStringLiteral("dx"),
                                  QStringLiteral("rq"),   QStringLiteral("link"), QStringLiteral("zzdz"),
                                  QStringLiteral("source")};
    return keys;
}

MergedResults::Change MergedResults::add(const SourceEntry& source, const QList<ListRow>& rows)
{
    Change change;
    change.firstNew = size();
    const int position = tablePosition(&source);
    for (const ListRow& row : rows) {
        FoundResource resource = foundResource(source, row);
        QString key = resourceKey(resource);
        // A row without any link cannot meet another; it stays on its own.
        const auto it = key.isEmpty() ? m_byKey.constEnd() : m_byKey.constFind(key);
        if (it == m_byKey.constEnd()) {
            if (!key.isEmpty())
                m_byKey.insert(key, size());
            m_rows.append(MergedRow{std::move(resource), std::move(key), {&source}});
            continue;
        }
        MergedRow& merged = m_rows[*it];
        const QString name = merged.resource.name;
        const bool first = tablePosition(merged.sources.constFirst()) > position;
        bool changed = absorb(merged.resource, resource, first);
        if (merged.resource.name != name)
            change.namesChanged = true;
        if (!merged.sources.contains(&source)) {
            const auto at = std::find_if(merged.sources.begin(), merged.sources.end(), [position](const SourceEntry* s) {
                return tablePosition(s) > position;
            });
            merged.sources.insert(at, &source);
            changed = true;
        }
        if (changed && *it < change.firstNew)
            change.changed << *it;
    }
    change.newCount = size() - change.firstNew;
    std::sort(change.changed.begin(), change.changed.end());
    change.changed.erase(std::unique(change.changed.begin(), change.changed.end()), change.changed.end());
    return change;
}

void MergedResults::clear()
{
    m_rows.clear();
    m_byKey.clear();
}

ListRow MergedResults::listRow(int i) const
{
    const MergedRow& m = m_rows.at(i);
    ListRow row(QString::number(i + 1));
    row.set(QStringLiteral("mc"), m.resource.name)
        .set(QStringLiteral("dx"), m.resource.size)
        .set(QStringLiteral("rq"), m.resource.date)
        .set(QStringLiteral("link"), m.resource.link)
        .set(QStringLiteral("zzdz"), m.resource.detail)
        .set(QStringLiteral("source"), m.sourceIds());
    return row;
}

QList<ListRow> MergedResults::listRows() const
{
    QList<ListRow> out;
    out.reserve(size());
    for (int i = 0; i < size(); ++i)
        out << listRow(i);
    return out;
}

} // namespace lumorra
