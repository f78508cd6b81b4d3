#include "feed/torznab_request.h"

#include <QUrlQuery>

namespace lumorra::feed {

namespace {

QString value(const QUrlQuery& query, const char* key)
{
    return query.queryItemValue(QLatin1String(key), QUrl::FullyDecoded);
}

// A number that is not negative, or -1.
int count(const QString& text, int max)
{
    bool ok = false;
    const int n = text.trimmed().toInt(&ok);
    return ok && n >= 0 && n <= max ? n : -1;
}

TorznabError bad(const QString& description)
{
    return {kErrorBadParameter, description};
}

} // namespace

TorznabError readTorznabQuery(const QUrlQuery& query, TorznabRequest* out)
{
    TorznabRequest r;
    // A client that names no function searches (qBittorrent's plugin does).
    const QString t = query.hasQueryItem(QStringLiteral("t")) ? value(query, "t").trimmed().toLower()
                                                              : QStringLiteral("search");
    if (t.isEmpty())
        return {kErrorMissingParameter, QStringLiteral("Missing parameter (t)")};
    if (t == QLatin1String("caps"))
        r.function = TorznabFunction::Caps;
    else if (t == QLatin1String("indexers"))
        r.function = TorznabFunction::Indexers;
    else if (t == QLatin1String("search"))
        r.function = TorznabFunction::Search;
    else if (t == QLatin1String("tvsearch"))
        r.function = TorznabFunction::TvSearch;
    else if (t == QLatin1String("movie"))
        r.function = TorznabFunction::Movie;
    else if (QStringList{"music", "book", "details", "getnfo", "get", "register", "comments", "cartadd", "cartdel",
                         "user"}
                 .contains(t))
        return {kErrorFunctionNotAvailable, QStringLiteral("Function not available (%1)").arg(t)};
    else
        return {kErrorNoSuchFunction, QStringLiteral("No such function (%1)").arg(t)};

    r.configuredOnly = value(query, "configured").trimmed().toLower() == QLatin1String("true");
    r.keyword = value(query, "q").simplified();
    if (query.hasQueryItem(QStringLiteral("offset"))) {
        r.offset = count(value(query, "offset"), 1 << 30);
        if (r.offset < 0)
            return bad(QStringLiteral("Incorrect parameter (offset)"));
    }
    if (query.hasQueryItem(QStringLiteral("limit"))) {
        r.limit = count(value(query, "limit"), 1 << 30);
        if (r.limit < 0)
            return bad(QStringLiteral("Incorrect parameter (limit)"));
        r.limit = std::min(r.limit, kMaxLimit);
    }
    const QString cat = value(query, "cat").trimmed();
    if (!cat.isEmpty()) {
        for (const QString& part : cat.split(u',', Qt::SkipEmptyParts)) {
            const int id = count(part, 999999);
            if (id < 0)
                return bad(QStringLiteral("Incorrect parameter (cat)"));
            r.categories << id;
        }
    }
    if (r.function == TorznabFunction::TvSearch) {
        // "Show S02E05", "Show S02", or a season that is a year: "Show 2024 05/12".
        const QString season = value(query, "season").trimmed();
        const QString episode = value(query, "ep").trimmed();
        if (!episode.isEmpty() && season.isEmpty())
            return {kErrorMissingParameter, QStringLiteral("Missing parameter (season)")};
        bool seasonNumber = false, episodeNumber = false;
        const int s = season.toInt(&seasonNumber);
        const int e = episode.toInt(&episodeNumber);
        if (!season.isEmpty() && (season.size() > 16 || episode.size() > 16))
            return bad(QStringLiteral("Incorrect parameter (season)"));
        if (!season.isEmpty() && !r.keyword.isEmpty()) {
            if (seasonNumber && s >= 0 && s < 1000) {
                r.keyword += QStringLiteral(" S%1").arg(s, 2, 10, QLatin1Char('0'));
                if (episodeNumber && e >= 0)
                    r.keyword += QStringLiteral("E%1").arg(e, 2, 10, QLatin1Char('0'));
                else if (!episode.isEmpty())
                    r.keyword += u' ' + episode;
            } else {
                r.keyword += u' ' + season;
                if (!episode.isEmpty())
                    r.keyword += u' ' + episode;
            }
        }
    }
    *out = r;
    return {};
}

} // namespace lumorra::feed
