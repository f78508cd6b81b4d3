#pragma once
// The BT film pages of EmuleIndexSite: the page address, the films of one
// page, and the update date and magnet link of a film's download page, by
// that site's definition (without one: the shipped definition's).
#include "core/list_row.h"

#include <QList>
#include <QString>

namespace lumorra {

class CutPage;
struct SiteDefinition;

// A BT film page lists at most this many films.
inline constexpr int kBtFilmMaxRows = 35;

// Page 1 is base + "/Download/bt/dianying"; page n > 1 is that + "/" + n.
QString btFilmPageUrl(const QString& base, int page);
QString btFilmPageUrl(const SiteDefinition& def, const QString& base, int page);

struct BtFilm {
    QString title;
    QString address;   // base + "/Download/xiazai" + the link
};

// The ListView16 row of a film: mc title, dz download page.
ListRow listRow(int number, const BtFilm& film);

// The films of a page, one per download link (at most 35), in page order.
QList<BtFilm> cutBtFilms(const CutPage& page, const QString& base);
QList<BtFilm> cutBtFilms(const SiteDefinition& def, const CutPage& page, const QString& base);

struct BtFilmMagnet {
    QString updated;   // the text after "文件更新时间："
    QString link;      // the magnet link, "&amp;" read as "&"
};

BtFilmMagnet cutBtFilmMagnet(const QString& downloadPage);
BtFilmMagnet cutBtFilmMagnet(const SiteDefinition& def, const QString& downloadPage);

} // namespace lumorra
