#include "sources/torrent/bt_film_parse.h"

#include "text/cut.h"

namespace lumorra {

namespace {

const QString kFilmLink = QStringLiteral("<a href=\"/Download/xiazai");
const QString kUpdated = QStringLiteral("文件更新时间：");
const QString kMagnetBox = QStringLiteral("select()\">");

} // namespace

QString btFilmPageUrl(const QString& base, int page)
{
    const QString first = base + QStringLiteral("/Download/bt/dianying");
    return page == 1 ? first : first + QLatin1Char('/') + QString::number(page);
}

QList<BtFilm> cutBtFilms(const CutPage& page, const QString& base)
{
    const int films = int(qMin<qsizetype>(kBtFilmMaxRows, page.count(kFilmLink)));
    QList<BtFilm> out;
    out.reserve(films);
    const QString prefix = base + QStringLiteral("/Download/xiazai");
    for (int i = 1; i <= films; ++i) {
        const Cut anchor = page.piece(kFilmLink, i).upToFirstCharOf(u"</a>");
        const Cut openingTag = anchor.upToFirstCharOf(u">").erase(u'>');
        BtFilm film;
        film.title = openingTag.piece(u"title=\"", 1).erase(u'"');
        film.address = anchor.upToFirstCharOf(u"\"").erase(u'"').prefix(prefix);
        out.append(std::move(film));
    }
    return out;
}

BtFilmMagnet cutBtFilmMagnet(const QString& downloadPage)
{
    const Cut page(downloadPage);
    BtFilmMagnet m;
    m.updated = page.piece(kUpdated, 1).upToFirstCharOf(u"</div>").erase(u"</span>").erase(u'<');
    // The page writes the link HTML-escaped; its "&" separates the link's
    // fields and must stay.
    m.link = page.piece(kMagnetBox, 1).upToFirstCharOf(u"</textarea>").erase(u'<').replace(u"&amp;", u"&");
    return m;
}

ListRow listRow(int number, const BtFilm& film)
{
    ListRow r(rowNumber(number));
    r.set(QStringLiteral("mc"), film.title).set(QStringLiteral("dz"), film.address);
    return r;
}

} // namespace lumorra
