#include "fetch_now.h"

#include <QEventLoop>
#include <QTimer>

#include <optional>

namespace lumorra::testing {

FetchResult fetchNow(const QString& url, FetchStarter starter, int timeoutMs)
{
    QObject context;
    std::optional<FetchResult> answer;
    QEventLoop loop;
    starter(url, &context, [&answer, &loop](const FetchResult& r) { answer = r; loop.quit(); });
    QTimer::singleShot(timeoutMs, &loop, &QEventLoop::quit);
    loop.exec();
    if (!answer) {
        FetchResult none;
        none.url = url;
        none.error = FetchError::Network;
        return none;
    }
    return *answer;
}

} // namespace lumorra::testing
