#pragma once
// A double click on a ListView13 row reads the film's detail page with the
// qvod resolver and lists its Qvod links in List2 (hx5 counts them, jx5
// lists each distinct link once); a new double click supersedes a pending
// one.
#include "net/page_fetcher.h"
#include "sources/engine/source_engine.h"

#include <QObject>
#include <QString>
#include <QtGlobal>

class QListWidget;
class QWidget;

namespace lumorra {

class QvodResolveEngine;
class ResultList;

class FilmResourceDetail : public QObject {
    Q_OBJECT
public:
    explicit FilmResourceDetail(QWidget* form1);

    void ListView13_DblClick();

    qint16 qvodLinkHits() const;

    static QString doneText();       // "种子提取完毕.."
    // The status after a detail page that did not arrive.
    static QString failureText(FetchError error);
    static QString failureText(const FetchResult& result);

signals:
    // The resolution has ended; `ok` when a page arrived (List2 then holds
    // its links, maybe none).
    void resolved(bool ok);

private:
    void ended(const SourceOutcome& outcome);

    ResultList* m_resultList = nullptr;   // ListView13
    QListWidget* m_linkList = nullptr;    // List2
    QvodResolveEngine* m_links = nullptr;
};

// Wires ListView13's double click under form1; a second call returns the
// same object.
FilmResourceDetail* installFilmResourceDetail(QWidget* form1);

} // namespace lumorra
