#pragma once
// The documents of the feed, as Torznab clients read them: the
// capabilities, the list of indexers, a search's items (RSS 2.0 with the
// torznab attributes) and the error document. UTF-8 XML.
#include "feed/feed_item.h"

#include <QByteArray>
#include <QList>
#include <QString>

namespace lumorra::feed {

struct FeedIndexer;

QByteArray capsDocument();
QByteArray indexersDocument(const QList<FeedIndexer>& indexers);
// `self` is the address asked; `offset` and `total` describe the page.
QByteArray resultsDocument(const FeedIndexer& indexer, const QString& self, const QList<FeedItem>& items,
                           int offset, int total);
QByteArray errorDocument(int code, const QString& description);

} // namespace lumorra::feed
