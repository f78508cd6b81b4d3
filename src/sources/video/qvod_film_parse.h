#pragma once
// QvodFilmSite: the channel page URL, the rows of one channel page and the
// fields of a film's detail page, by the site's definition (without one:
// the shipped definition's).
#include "core/list_row.h"

#include <QList>
#include <QString>

#include <optional>

namespace lumorra {

class CutPage;
struct SiteDefinition;

// Titles one channel page lists at most.
inline constexpr int kQvodFilmRowsPerPage = 25;

// base + "/channel/list_0_" + page + ".html".
QString qvodFilmChannelUrl(const QString& base, int page);
QString qvodFilmChannelUrl(const SiteDefinition& def, const QString& base, int page);

struct QvodFilmRow {
    QString title;
    QString detailUrl;   // base + "/content/detail_…"
};

// The ListView3 row of a film: mc title, dz detail page.
ListRow listRow(int number, const QvodFilmRow& row);

// The films of a channel page, at most `wanted`. Titles come from the list
// block with its links taken out, addresses from the raw page; row i joins
// the i-th of each. A page lists as many films as the more numerous of the
// two; a field the page lacks for a row is empty.
QList<QvodFilmRow> cutQvodFilmRows(const CutPage& page, const QString& base, int wanted);
QList<QvodFilmRow> cutQvodFilmRows(const SiteDefinition& def, const CutPage& page, const QString& base, int wanted);

// A detail page: the poster and the four play addresses. An address whose
// block the page does not hold is absent (its box keeps what it shows).
struct QvodFilmDetail {
    QString posterUrl;                  // base + the page's path; empty without a poster
    std::optional<QString> thunder;     // 迅播 block  -> Text7
    std::optional<QString> baidu;       // 百度影音 block -> Text10
    std::optional<QString> qq;          // ＱＱ影音 block -> Text9
    std::optional<QString> qvod;        // 快播 block -> Text11
};

QvodFilmDetail cutQvodFilmDetail(const QString& page, const QString& base);
QvodFilmDetail cutQvodFilmDetail(const SiteDefinition& def, const QString& page, const QString& base);

} // namespace lumorra
