#pragma once
// QvodSearchSite on tab 1 of SSTab3: category pages into ListView14
// (Command53(7..9), counted by hx6, cut by Timer13), the keyword search
// (Command53(10), further pages collected by Timer14) and a film's detail
// page into Image3 and the current Qvod address.
#include "net/page_fetcher.h"
#include "text/cut.h"

#include <QObject>
#include <QString>
#include <QtGlobal>

class QAbstractButton;
class QLabel;
class QLineEdit;
class QTimer;
class QWidget;

namespace lumorra {

class ResultList;

class QvodSearchSource : public QObject {
    Q_OBJECT
public:
    QvodSearchSource(QWidget* form1, QObject* parent);
    ~QvodSearchSource() override;

    // The agreement has been checked by the caller.
    void fetchCategory();      // Command53(7)
    void keywordSearch();      // Command53(10)
    void hx6();
    void Timer13_Timer();
    void Timer14_Timer();
    void ListView14_DblClick();

    qint16 pageNumber() const { return m_pageNumber; }
    void setPageNumber(qint16 page) { m_pageNumber = page; }
    // The Qvod address of the last detail page resolved (Command4 plays it).
    QString currentQvodAddress() const { return m_currentQvodAddress; }
    qint16 categoryHits() const { return m_categoryHits; }
    int pagesLeft() const { return m_pagesLeft; }
    bool isSearching() const { return m_searching; }

signals:
    // A category page has ended: rows listed, no records, or not arrived.
    void listingLoaded();
    // The keyword search has ended (rows, nothing found, or failed); its
    // button is enabled again. Rows of the pages that came are listed even
    // when a further page did not come (failed() says so first).
    void searchEnded();
    // A detail page has ended: address resolved, resource gone, or failed.
    void detailResolved();
    void failed(const QString& reason);

private:
    void collectNextPage();
    void cutKeywordRows();
    void endSearch(const QString& status);
    void releaseTexts();

    QWidget* m_form1;
    ResultList* m_listView14 = nullptr;
    QLineEdit* m_text15 = nullptr;
    QLabel* m_image3 = nullptr;
    QAbstractButton* m_searchButton = nullptr;   // Command53(10)
    QTimer* m_timer13 = nullptr;
    QTimer* m_timer14 = nullptr;

    LatestFetch m_categoryFetch;
    LatestFetch m_searchFetch;
    LatestFetch m_detailFetch;

    qint16 m_pageNumber = 1;          // QvodSearchPageNo
    CutPage m_categoryPage;           // QvodSearchPage of a category listing
    qint16 m_categoryHits = 0;        // QvodSearchHits
    CutPage m_searchPage;             // the keyword search's pages, joined
    QString m_searchKeyword;          // escaped, as the search started
    int m_searchTotal = 0;            // QvodSearchTotal
    int m_pagesLeft = 0;              // QvodSearchPagesLeft
    int m_missedPages = 0;            // further pages that did not come
    int m_missesInARow = 0;
    static constexpr int kMostMissesInARow = 3;
    QString m_firstMissReason;
    bool m_searching = false;
    QString m_currentQvodAddress;     // CurrentQvodAddress
    int m_releaseHook = -1;
};

} // namespace lumorra
