#pragma once
// The eMule family's handlers on the main window: the seven category rows
// (Command21(0..2), Command26(0..2), Command27(0..11), Command41(0..2)), the
// index-site search Command27(12) with Timer15, and the search-site search
// Command27(13) with Timer20 and Timer21.
#include "net/page_fetcher.h"
#include "sources/emule/emule_category_parse.h"
#include "text/cut.h"

#include <QObject>
#include <QString>

#include <array>

class QAbstractButton;
class QLineEdit;
class QTimer;
class QWidget;

namespace lumorra {

class ResultList;

// Status texts of our own (the others are written where they are shown).
QString emuleEmptyListingText();                         // a listing page without records
QString emuleFetchFailedText(const FetchResult& result);  // no page: fetch error, error status, empty

class EmuleSources : public QObject {
    Q_OBJECT
public:
    explicit EmuleSources(QWidget* form1);
    ~EmuleSources() override;

    // The instance installed on form1, or nullptr.
    static EmuleSources* of(QWidget* form1);

    // Button arrays; the index chooses category and action, or the search.
    void Command21_Click(int index);
    void Command26_Click(int index);
    void Command27_Click(int index);
    void Command41_Click(int index);

    void Timer15_Timer();   // index-site parse step
    void Timer20_Timer();   // search-site parse step
    void Timer21_Timer();   // search-site not-found check

    qint64 pageNumber(EmuleCategory category) const;
    void setPageNumber(EmuleCategory category, qint64 page);
    int indexPending() const { return m_indexPending; }
    int searchPending() const { return m_searchPending; }

    // The two keyword searches, by their Command27 index.
    static constexpr int kIndexSearch = 12;
    static constexpr int kSiteSearch = 13;

signals:
    // A category page was fetched (listed, or failed with the reason in the
    // status line).
    void listingLoaded(int category);
    // Keyword search kIndexSearch or kSiteSearch has ended (rows, nothing
    // found or failed); its button is enabled again.
    void searchEnded(int search);
    // A page did not arrive; `reason` is what the status line says.
    void failed(const QString& reason);
    // Keyword search `search`'s page was counted; its cutting step is due.
    void pageCounted(int search);

private:
    void categoryClick(const QString& array, int index);
    void fetchCategory(EmuleCategory category);
    void indexSearch();        // Command27(12)
    void searchSiteSearch();   // Command27(13)
    void releaseTexts();

    // A keyword search's page into `into`. False when no page came back (a
    // fetch error, an error status, an empty body): the search has then
    // ended with the reason in the status line.
    bool takeSearchPage(int search, const FetchResult& result, CutPage& into);
    void endSearch(int search);

    QWidget* m_form1;
    std::array<qint64, 7> m_pages;
    std::array<ResultList*, 7> m_categoryLists{};
    ResultList* m_listView15 = nullptr;
    ResultList* m_listView17 = nullptr;
    QLineEdit* m_text16 = nullptr;   // index-site keyword
    QLineEdit* m_text17 = nullptr;   // its page number
    QLineEdit* m_text19 = nullptr;   // search-site keyword
    QLineEdit* m_text20 = nullptr;   // its page number
    QAbstractButton* m_indexSearchButton = nullptr;   // Command27(12)
    QAbstractButton* m_siteSearchButton = nullptr;    // Command27(13)
    QTimer* m_timer15 = nullptr;
    QTimer* m_timer20 = nullptr;
    QTimer* m_timer21 = nullptr;

    // One fetch per list: a newer click supersedes a pending page.
    std::array<LatestFetch, 7> m_categoryFetch;
    LatestFetch m_indexFetch;
    LatestFetch m_siteFetch;

    CutPage m_indexPage;        // the index site's last result page
    qint16 m_indexPending = 0;
    bool m_indexSearching = false;
    CutPage m_searchPage;       // the search site's last result page
    qint16 m_searchPending = 0;
    bool m_siteSearching = false;
    int m_releaseHook = -1;
};

// Connects the family's buttons and timers under form1 and keeps its state
// there. Calling it again on the same window does nothing.
void installEmuleSources(QWidget* form1);

} // namespace lumorra
