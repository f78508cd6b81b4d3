#pragma once
// The three keyword searches behind the Command2 button array of the video
// resource page: index 0 TorrentIndexSite into ListView2, index 1
// TorrentRssSite into ListView4 (both count-then-cut, cut by Timer3/Timer5,
// outcome by Timer4/Timer6), index 2 FilmResourceSite into ListView13 (cut
// in the click handler).
#include "net/page_fetcher.h"
#include "text/cut.h"

#include <QObject>
#include <QString>
#include <QtGlobal>

class QLineEdit;
class QPushButton;
class QTimer;
class QWidget;

namespace lumorra {

class ResultList;

// The status text after a search whose page did not arrive (empty body,
// fetch error, time-out).
QString searchFailureText(FetchError error);

class TorrentSearches : public QObject {
    Q_OBJECT
public:
    explicit TorrentSearches(QWidget* form1);
    ~TorrentSearches() override;

    // --- handlers (public so the window can be driven as the user does) ---
    void Command2_Click(int index);
    void Text2_Change();
    void Text8_Change();
    void hx();
    void hx2();
    void Timer3_Timer();
    void Timer4_Timer();
    void Timer5_Timer();
    void Timer6_Timer();

    // --- state, for tests ---
    bool isSearching(int index) const;
    QString torrentIndexKeyword() const { return m_torrentIndexKeyword; }
    QString torrentRssKeyword() const { return m_torrentRssKeyword; }
    qint16 torrentIndexHits() const { return m_torrentIndexHits; }
    qint16 torrentRssHits() const { return m_torrentRssHits; }

signals:
    // Search `index` (0 index site, 1 RSS, 2 film resource) has ended: rows
    // listed, nothing found or failed; its button is enabled again.
    void searchEnded(int index);
    // Its page did not arrive; `reason` is what the status line says.
    void failed(int index, const QString& reason);
    // The page of search `index` (0 or 1) was counted; its cut is pending.
    void pageCounted(int index);

private:
    void searchTorrentIndex();
    void searchTorrentRss();
    void searchFilmResource();
    // Clears the source's list, shows `status` and holds `button` until the
    // search ends.
    void beginSearch(ResultList* list, QPushButton* button, const QString& status);
    // Takes a search's page into `into`. False when the page came back
    // empty: the search has then ended with the reason in the status line.
    bool takePage(int index, const FetchResult& result, CutPage& into);
    void endSearch(int index);
    // After the memory release: pages no search needs any more are emptied;
    // a search still cutting gets its stopped timers back.
    void releaseTexts();

    QWidget* m_form1;
    QPushButton* m_command2[3] = {};
    QLineEdit* m_text2 = nullptr;
    QLineEdit* m_text4 = nullptr;
    QLineEdit* m_text8 = nullptr;
    QLineEdit* m_text13 = nullptr;
    QLineEdit* m_text14 = nullptr;
    ResultList* m_listView2 = nullptr;
    ResultList* m_listView4 = nullptr;
    ResultList* m_listView13 = nullptr;
    QTimer* m_timer3 = nullptr;
    QTimer* m_timer4 = nullptr;
    QTimer* m_timer5 = nullptr;
    QTimer* m_timer6 = nullptr;

    // One fetch per list: a new search supersedes a pending one.
    LatestFetch m_fetch[3];
    bool m_searching[3] = {};

    QString m_torrentIndexKeyword;
    CutPage m_torrentIndexPage;
    qint16 m_torrentIndexHits = 0;

    QString m_torrentRssKeyword;
    CutPage m_torrentRssPage;
    qint16 m_torrentRssHits = 0;

    int m_releaseHook = -1;
};

// Finds the controls, lists and timers under form1 by objectName and wires
// them. The returned object is a child of form1.
TorrentSearches* installTorrentSearches(QWidget* form1);

} // namespace lumorra
