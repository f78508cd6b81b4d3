#pragma once
// A double click on a ListView13 row fetches the film's detail page and
// lists its Qvod links in List2 (hx5 counts them, jx5 lists each distinct
// link once); a new double click supersedes a pending one.
#include "net/page_fetcher.h"

#include <QObject>
#include <QString>
#include <QtGlobal>

class QListWidget;
class QWidget;

namespace lumorra {

class ResultList;

class FilmResourceDetail : public QObject {
    Q_OBJECT
public:
    explicit FilmResourceDetail(QWidget* form1);

    void ListView13_DblClick();

    qint16 qvodLinkHits() const { return m_qvodLinkHits; }

    static QString doneText();       // "种子提取完毕.."
    // The status after a detail page that did not arrive.
    static QString failureText(FetchError error);
    static QString failureText(const FetchResult& result);

signals:
    // The resolution has ended; `ok` when a page arrived (List2 then holds
    // its links, maybe none).
    void resolved(bool ok);

private:
    // hx5 and jx5 of the page in one pass: the count, then List2 filled.
    void listQvodLinks(const QString& page);

    ResultList* m_listView13 = nullptr;
    QListWidget* m_list2 = nullptr;
    LatestFetch m_fetch;
    qint16 m_qvodLinkHits = 0;
};

// Wires ListView13's double click under form1; a second call returns the
// same object.
FilmResourceDetail* installFilmResourceDetail(QWidget* form1);

} // namespace lumorra
