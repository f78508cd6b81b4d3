#pragma once
// TorrentTagSite on tab 2 of SSTab3: the tag search Command53(15) (counted
// by hx12, cut by Timer8, rows put on top of those already listed) and the
// double click on ListView20 that resolves a torrent page into its info
// hash and magnet link (Text23(0), Text23(1)).
#include "net/page_fetcher.h"
#include "text/cut.h"

#include <QObject>
#include <QString>
#include <QtGlobal>

#include <deque>

class QLineEdit;
class QTimer;
class QWidget;

namespace lumorra {

class ResultList;

class TorrentTagSource : public QObject {
    Q_OBJECT
public:
    TorrentTagSource(QWidget* form1, QObject* parent);

    // The agreement has been checked by the caller.
    void search();               // Command53(15)
    void hx12();
    void Timer8_Timer();
    void ListView20_DblClick();

    qint16 pendingHits() const { return m_hits; }

signals:
    // A tag search has ended: rows listed, nothing found, or failed.
    void searchEnded();
    // The double click has ended: boxes filled, resource gone, or failed.
    void detailResolved();
    void failed(const QString& reason);

private:
    QWidget* m_form1;
    ResultList* m_listView20 = nullptr;
    QLineEdit* m_text22 = nullptr;
    QLineEdit* m_infoHash = nullptr;   // Text23(0)
    QLineEdit* m_magnet = nullptr;     // Text23(1)
    QTimer* m_timer8 = nullptr;

    // Tag pages that arrived and wait for Timer8, oldest first: two searches
    // in quick succession each list their own page, the later on top.
    std::deque<CutPage> m_tagPages;
    qint16 m_hits = 0;                 // TorrentTagHits
    LatestFetch m_detailFetch;
};

} // namespace lumorra
