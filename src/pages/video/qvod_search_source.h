#pragma once
// QvodSearchSite on tab 1 of SSTab3: category pages into ListView14
// (Command53(7..9), the qvod-category engine on Timer13), the keyword
// search (Command53(10), the qvod engine collecting its further pages on
// Timer14) and a film's detail page into Image3 and the current Qvod
// address (the qvod resolver).
#include "sources/engine/source_engine.h"

#include <QObject>
#include <QString>
#include <QtGlobal>

class QAbstractButton;
class QLabel;
class QLineEdit;
class QWidget;

namespace lumorra {

class EngineBinding;
class QvodCategoryEngine;
class QvodResolveEngine;
class QvodSearchEngine;
class ResultList;

class QvodSearchSource : public QObject {
    Q_OBJECT
public:
    QvodSearchSource(QWidget* form1, QObject* parent);

    // The agreement has been checked by the caller.
    void fetchCategory();      // Command53(7)
    void keywordSearch();      // Command53(10)
    void ListView14_DblClick();

    qint16 pageNumber() const { return m_pageNumber; }
    void setPageNumber(qint16 page) { m_pageNumber = page; }
    // The Qvod address of the last detail page resolved (Command4 plays it).
    QString currentQvodAddress() const { return m_currentQvodAddress; }
    qint16 categoryHits() const;
    int pagesLeft() const;
    bool isSearching() const;

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
    void categoryEnded(const SourceOutcome& outcome);
    void searchFinished(const SourceOutcome& outcome);
    void detailEnded(const SourceOutcome& outcome);

    QWidget* m_form1;
    ResultList* m_resultList = nullptr;         // ListView14
    QLineEdit* m_keywordBox = nullptr;          // Text15
    QLabel* m_poster = nullptr;                 // Image3
    QAbstractButton* m_searchButton = nullptr;  // Command53(10)

    QvodCategoryEngine* m_category = nullptr;
    QvodSearchEngine* m_search = nullptr;
    QvodResolveEngine* m_detail = nullptr;
    EngineBinding* m_categoryBinding = nullptr;
    EngineBinding* m_searchBinding = nullptr;

    qint16 m_pageNumber = 1;          // QvodSearchPageNo
    QString m_currentQvodAddress;     // CurrentQvodAddress
    quint64 m_detailRun = 0;          // the poster of a film chosen since is not shown
};

} // namespace lumorra
