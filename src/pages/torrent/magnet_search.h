#pragma once
// The magnet search of the page "资源②（支持自定义搜索）": Command21(3) searches
// the channel chosen in Combo1, Command21(4)/(5) page through the results,
// rows go to ListView19. MagnetSiteA is counted by hx10 and cut by Timer24;
// MagnetSiteB is counted by hx11 and cut by Timer26, which then reads the
// magnet link of each hit from its detail page.
#include "net/ordered_fetches.h"
#include "net/page_fetcher.h"
#include "sources/torrent/magnet_search_parse.h"
#include "text/cut.h"

#include <QList>
#include <QObject>
#include <QString>
#include <QtGlobal>

class QComboBox;
class QLineEdit;
class QPushButton;
class QTimer;
class QWidget;

namespace lumorra {

class ResultList;

class MagnetSearch : public QObject {
    Q_OBJECT
public:
    explicit MagnetSearch(QWidget* form1);
    ~MagnetSearch() override;

    // --- handlers (public so the window can be driven as the user does) ---
    void Command21_Click(int index);   // 3 search, 4 next page, 5 previous page
    void hx10();
    void hx11();
    void Timer24_Timer();
    void Timer26_Timer();

    // --- state, for tests ---
    qint16 magnetPageNumber() const { return m_magnetPageNumber; }
    void setMagnetPageNumber(qint16 n) { m_magnetPageNumber = n; }
    qint16 magnetHits() const { return m_magnetHits; }
    bool isSearching() const { return m_searching; }

    // Status texts.
    static QString noResultText();   // "抱歉!没有找到任何结果,请更换关键字重试"
    static QString doneText();       // "资源搜索完毕.."
    // MagnetSiteB's hits listed, but not one detail page gave its link.
    static QString detailsFailedText(const QString& reason);

signals:
    // The search has ended: rows listed, refused as a no-result page, or
    // failed (then failed() came first).
    void searchEnded();
    void failed(const QString& reason);

private:
    void search();
    void endSearch();
    void fail(const QString& reason);
    // The paging buttons work from the first completed cut on.
    void enablePaging();
    void addRow(int number, const MagnetRow& row);
    void releaseTexts();

    QWidget* m_form1;
    QLineEdit* m_text21 = nullptr;
    QComboBox* m_combo1 = nullptr;
    QPushButton* m_command21[3] = {};   // indices 3, 4, 5
    ResultList* m_listView19 = nullptr;
    QTimer* m_timer24 = nullptr;
    QTimer* m_timer26 = nullptr;

    // A new search supersedes the pending page and the detail pages of the
    // last one.
    LatestFetch m_fetch;
    OrderedFetches m_detailFetches;
    bool m_searching = false;
    MagnetChannel m_channel = MagnetChannel::SiteA;

    CutPage m_magnetPage;
    qint16 m_magnetHits = 0;
    qint16 m_magnetPageNumber = 1;
    // MagnetSiteB hits whose detail pages are on the way, in hit order.
    QList<MagnetSiteBHit> m_pendingHits;
    int m_failedDetails = 0;          // detail pages of m_pendingHits that did not come
    QString m_detailFailure;          // why the last of them did not

    int m_releaseHook = -1;
};

// Finds the page's controls and the timers under form1 and wires them. The
// returned object is a child of form1; a second call returns it again.
MagnetSearch* installMagnetSearch(QWidget* form1);

} // namespace lumorra
