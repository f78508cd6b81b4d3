#pragma once
// BtBoardSite: the address of a board page and the posts cut from it, by the
// site's definition (without one: the shipped definition's).
#include "core/list_row.h"

#include <QList>
#include <QString>

namespace lumorra {

class CutPage;
struct SiteDefinition;

inline constexpr int kBtBoardFirst = 1;
inline constexpr int kBtBoardLast = 8;
// A board page lists at most this many posts.
inline constexpr int kBtBoardMaxPosts = 50;

// base + "/list.php?BoardID=" + board.
QString btBoardUrl(const QString& base, int board);
QString btBoardUrl(const SiteDefinition& def, const QString& base, int board);

struct BtBoardPost {
    QString name;
    QString address;   // base + "/display.php?" + the post's query
    QString size;
    QString category;
};

// The ListView18 row of a post: mc name, dz address, fl category, dx size.
ListRow listRow(int number, const BtBoardPost& post);

// The posts of a board page, in page order, one per post link (at most 50).
// A cell the post's row does not have gives an empty field.
QList<BtBoardPost> cutBoardPosts(const CutPage& page, const QString& base);
QList<BtBoardPost> cutBoardPosts(const SiteDefinition& def, const CutPage& page, const QString& base);

} // namespace lumorra
