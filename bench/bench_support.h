#pragma once
// A benchmark waits for the page it measures; the program never does.
#include "net/page_fetcher.h"

#include <QEventLoop>
#include <QObject>

#include <optional>

namespace lumorra::bench {

inline FetchResult fetchAndWait(const QString& url)
{
    QObject context;
    QEventLoop loop;
    std::optional<FetchResult> answer;
    GetBody(url, &context, [&](const FetchResult& r) {
        answer = r;
        loop.quit();
    });
    if (!answer)
        loop.exec();
    return answer.value_or(FetchResult{});
}

} // namespace lumorra::bench
