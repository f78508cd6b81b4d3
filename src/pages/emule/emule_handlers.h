#pragma once
// The eMule family's handlers on the main window: the seven category rows
// (Command21(0..2), Command26(0..2), Command27(0..11), Command41(0..2)), the
// index-site search Command27(12) (its cutting step on Timer15), and the
// search-site search Command27(13) (Timer20 and Timer21). Each is bound to
// its engine from the table of sources; the page numbers, the message boxes
// and the lists stay here.
#include "sources/emule/emule_category_parse.h"
#include "sources/engine/source_engine.h"

#include <QObject>
#include <QString>

#include <array>

class QAbstractButton;
class QLineEdit;
class QWidget;

namespace lumorra {

class EmuleCategoryEngine;
class EmuleIndexSearchEngine;
class EmuleSiteSearchEngine;
class EngineBinding;
class Pacing;
class ResultList;

class EmuleSources : public QObject {
    Q_OBJECT
public:
    explicit EmuleSources(QWidget* form1);

    // The instance installed on form1, or nullptr.
    static EmuleSources* of(QWidget* form1);

    // Button arrays; the index chooses category and action, or the search.
    void Command21_Click(int index);
    void Command26_Click(int index);
    void Command27_Click(int index);
    void Command41_Click(int index);

    qint64 pageNumber(EmuleCategory category) const;
    void setPageNumber(EmuleCategory category, qint64 page);
    int indexPending() const;
    int searchPending() const;

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
    void bindCategory(const EmuleCategoryInfo& info, const Pacing& pacing);
    void categoryClick(const QString& array, int index);
    void fetchCategory(EmuleCategory category);
    void startSearch(int search);
    void searchDone(int search, const SourceOutcome& outcome);

    QWidget* m_form1;
    std::array<qint64, 7> m_pages;
    std::array<EmuleCategoryEngine*, 7> m_categoryEngines{};
    std::array<ResultList*, 7> m_categoryLists{};
    // The list shows the page its number names only once that page came: a
    // page that did not come leaves the rows of the last one.
    std::array<bool, 7> m_listShowsThisRun{};

    EmuleIndexSearchEngine* m_indexSearch = nullptr;
    EmuleSiteSearchEngine* m_siteSearch = nullptr;
    EngineBinding* m_indexBinding = nullptr;
    EngineBinding* m_siteBinding = nullptr;
    QLineEdit* m_indexKeywordBox = nullptr;   // Text16
    QLineEdit* m_indexPageBox = nullptr;      // Text17
    QLineEdit* m_siteKeywordBox = nullptr;    // Text19
    QLineEdit* m_sitePageBox = nullptr;       // Text20
};

// Connects the family's buttons and timers under form1 and keeps its state
// there. Calling it again on the same window does nothing.
void installEmuleSources(QWidget* form1);

} // namespace lumorra
