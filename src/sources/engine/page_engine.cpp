#include "sources/engine/page_engine.h"

#include "sources/definitions/site_definition.h"

namespace lumorra {

void PageEngine::begin(const SourceRequest& request)
{
    const QString address = addressFor(request);
    if (const QString text = startText(); !text.isEmpty())
        say(text);
    m_fetch.get(address, fetchMode(), this, [this](const FetchResult& result) {
        if (result.hasPage())
            takePage(decodedFor(definition(), result));
        else
            pageMissing(result);
    });
}

FetchMode PageEngine::fetchMode() const
{
    return fetchModeOf(definition());
}

void PageEngine::halt()
{
    m_fetch.cancel();
}

} // namespace lumorra
