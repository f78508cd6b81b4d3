#pragma once
// The eMule family's handlers on the main window: the seven category rows
// (Command21(0..2), Command26(0..2), Command27(0..11), Command41(0..2)), the
// index-site search Command27(12) with Timer15, and the search-site search
// Command27(13) with Timer20 and Timer21.
#include "sources/emule/emule_category_parse.h"
#include "text/cut.h"

#include <QObject>
#include <QPointer>
#include <QString>

#include <array>

class QTimer;
class QWidget;

namespace lumorra {

class ResultList;
struct FetchResult;

// Status texts of our own (the others are written where they are shown).
QString emuleEmptyListingText();                         // a listing page without records
QString emuleFetchFailedText(const FetchResult& result);  // empty page or fetch error

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

private:
    void categoryClick(const QString& array, int index);
    void fetchCategory(EmuleCategory category);
    void indexSearch();        // Command27(12)
    void searchSiteSearch();   // Command27(13)
    void releaseTexts();

    QWidget* control(const QString& name) const;
    // The text of the line box of that name; empty without one.
    QString boxText(const QString& name) const;
    // A keyword search's page, fetched with `fetching` raised meanwhile. False
    // when there is nothing to count: these sources went away during the wait
    // (touch nothing then), or the page came back empty (the button is on
    // again and the status line says why).
    bool fetchSearchPage(CutPage& into, const QString& url, bool& fetching, const QString& button);
    void setButtonEnabled(const QString& name, bool enabled);

    QWidget* m_form1;
    std::array<qint64, 7> m_pages;
    QPointer<QTimer> m_timer15;
    QPointer<QTimer> m_timer20;
    QPointer<QTimer> m_timer21;

    CutPage m_indexPage;        // the index site's last result page
    qint16 m_indexPending = 0;
    bool m_indexFetching = false;
    CutPage m_searchPage;       // the search site's last result page
    qint16 m_searchPending = 0;
    bool m_searchFetching = false;
    int m_releaseHook = -1;
};

// Connects the family's buttons and timers under form1 and keeps its state
// there. Calling it again on the same window does nothing.
void installEmuleSources(QWidget* form1);

} // namespace lumorra
