#pragma once
// Fetches a page in a test and waits for its answer (tests may wait; the
// program never does).
#include "net/page_fetcher.h"

namespace lumorra::testing {

using FetchStarter = QPointer<FetchJob> (*)(const QString&, const QObject*, FetchCallback);

// The answer of GetBody (or the given starter) for `url`; an answer that
// does not come within `timeoutMs` fails the wait and gives Network.
FetchResult fetchNow(const QString& url, FetchStarter starter = &GetBody, int timeoutMs = 30000);

} // namespace lumorra::testing
