#include "sources/engine/page_engine.h"

namespace lumorra {

void PageEngine::begin(const SourceRequest& request)
{
    const QString address = addressFor(request);
    if (const QString text = startText(); !text.isEmpty())
        say(text);
    m_fetch.get(address, fetchMode(), this, [this](const FetchResult& result) {
        if (result.hasPage())
            takePage(result);
        else
            pageMissing(result);
    });
}

void PageEngine::halt()
{
    m_fetch.cancel();
}

} // namespace lumorra
