#pragma once
// The film listing page: the six category buttons Command14(0..5) fill
// ListView5; a double click on a row (or "解析影视种子" in its menu) reads
// the film's detail page and puts its download link into List3.
#include "net/page_fetcher.h"

#include <QObject>
#include <QString>

class QListWidget;
class QWidget;

namespace lumorra {

class ResultList;

// Status texts of our own.
QString filmListingFailedText(const FetchResult& result);
QString filmListingEmptyText();
QString filmLinkFailedText(const FetchResult& result);

class FilmListings : public QObject {
    Q_OBJECT
public:
    explicit FilmListings(QWidget* form1);

    // The instance installed on form1, or nullptr.
    static FilmListings* of(QWidget* form1);

    void Command14_Click(int index);
    void ListView5_DblClick();   // List3 shows this film's link alone
    void jxyszz_Click();         // "解析影视种子": the link joins List3

signals:
    // Category `index` has been loaded (listed, no films, or failed).
    void listingLoaded(int index);
    // A film link resolution has ended: added to List3, or the status line
    // says why not.
    void filmLinkEnded(bool resolved);
    void failed(const QString& reason);

private:
    void resolveFilmLink(bool replaceLinks);

    QWidget* m_form1;
    ResultList* m_listView5 = nullptr;
    QListWidget* m_list3 = nullptr;
    // The listing shows the latest category clicked; List3 the latest film.
    LatestFetch m_listingFetch;
    LatestFetch m_linkFetch;
};

// Connects the buttons, the double click and the menu item under form1.
// Calling it again on the same window does nothing.
void installFilmListings(QWidget* form1);

} // namespace lumorra
