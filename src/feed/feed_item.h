#pragma once
// One item of the feed: a merged row as a torrent client reads it.
#include <QDateTime>
#include <QString>

namespace lumorra {
struct MergedRow;
}

namespace lumorra::feed {

struct FeedItem {
    QString title;
    QString guid;          // stable per resource: its merging key
    QString link;          // the torrent address, else the magnet link, else the detail page
                           // (a magnet of its info hash when its address holds one)
    QString magnet;
    QString infohash;      // 40 lower-case hex digits, when known
    QString comments;      // the detail page
    QDateTime published;   // invalid when the site gave no date
    qint64 size = 0;       // bytes; 0 unknown
    int category = 0;
    QString indexerId;     // the first source that listed it
    QString indexerTitle;  // every source that listed it
};

FeedItem feedItem(const MergedRow& row);

} // namespace lumorra::feed
