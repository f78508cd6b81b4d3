#include "pages/everywhere/row_resolve.h"

#include "sources/engine/pacing.h"
#include "sources/engine/source_engine.h"
#include "sources/everywhere/merged_results.h"
#include "sources/source_table.h"

namespace lumorra {

RowResolve::RowResolve(QObject* parent) : QObject(parent)
{ }

QString RowResolve::noResolverText()
{
    return QStringLiteral("该资源的来源没有可解析的详情页");
}

QString RowResolve::noDetailText()
{
    return QStringLiteral("该资源没有详情页");
}

QString RowResolve::notFoundText()
{
    return QStringLiteral("详情页中没有找到链接");
}

bool RowResolve::start(const MergedRow& row, int tag, QString* refusal)
{
    const SourceEntry* resolver = nullptr;
    for (const SourceEntry* source : row.sources) {
        if ((resolver = resolverOf(*source)))
            break;
    }
    QString why;
    if (!resolver)
        why = noResolverText();
    else if (row.resource.detail.isEmpty())
        why = noDetailText();
    if (!why.isEmpty()) {
        if (refusal)
            *refusal = why;
        return false;
    }

    cancel();
    // Each resolve has an engine of its own: resolvers differ by source.
    SourceEngine* engine = resolver->createEngine(Pacing::immediate(), this);
    m_engine = engine;
    m_tag = tag;
    m_link.clear();
    connect(engine, &SourceEngine::rows, this, [this](const QList<ListRow>& rows) {
        for (const ListRow& r : rows) {
            if (m_link.isEmpty())
                m_link = r.cell(QStringLiteral("dz")).trimmed();
        }
    });
    connect(engine, &SourceEngine::finished, this, [this, engine](const SourceOutcome& outcome) {
        if (engine != m_engine)
            return;
        m_engine = nullptr;
        engine->deleteLater();
        if (!m_link.isEmpty())
            emit resolved(m_tag, m_link);
        else if (outcome.failed())
            emit failed(m_tag, outcome.reason);
        else if (outcome.completed())
            emit failed(m_tag, outcome.reason.isEmpty() ? notFoundText() : outcome.reason);
    });
    SourceRequest request;
    request.address = row.resource.detail;
    engine->start(request);
    return true;
}

void RowResolve::cancel()
{
    if (SourceEngine* engine = m_engine) {
        m_engine = nullptr;
        engine->disconnect(this);
        engine->cancel();
        engine->deleteLater();
    }
}

bool RowResolve::isRunning() const
{
    return m_engine;
}

} // namespace lumorra
