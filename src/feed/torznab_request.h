#pragma once
// What a Torznab client asks, read from the query of
// /api/v2.0/indexers/{id}/results/torznab/api, and what is wrong with it.
#include <QList>
#include <QString>

class QUrlQuery;

namespace lumorra::feed {

enum class TorznabFunction { Caps, Indexers, Search, TvSearch, Movie };

// Torznab's error codes.
inline constexpr int kErrorCredentials = 100;   // a missing or wrong API key
inline constexpr int kErrorMissingParameter = 200;
inline constexpr int kErrorBadParameter = 201;
inline constexpr int kErrorNoSuchFunction = 202;
inline constexpr int kErrorFunctionNotAvailable = 203;
inline constexpr int kErrorRequestLimit = 500;
inline constexpr int kErrorUnknown = 900;

struct TorznabError {
    int code = 0;
    QString description;
    bool isError() const { return code != 0; }
};

struct TorznabRequest {
    TorznabFunction function = TorznabFunction::Search;
    QString keyword;        // q, with season and episode appended as clients expect
    int offset = 0;
    int limit = 100;
    QList<int> categories;  // cat
    bool configuredOnly = false;   // t=indexers&configured=true
};

inline constexpr int kDefaultLimit = 100;
inline constexpr int kMaxLimit = 1000;

// Reads `query` (apikey aside) into *out; the error when it cannot.
TorznabError readTorznabQuery(const QUrlQuery& query, TorznabRequest* out);

} // namespace lumorra::feed
