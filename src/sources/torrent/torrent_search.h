#pragma once
// The three keyword searches behind the Command2 button array of the video
// resource page: index 0 TorrentIndexSite into ListView2, index 1
// TorrentRssSite into ListView4 (both count-then-cut, cut by Timer3/Timer5,
// outcome by Timer4/Timer6), index 2 FilmResourceSite into ListView13 (cut
// in the click handler).
#include "net/page_fetcher.h"
#include "text/cut.h"

#include <QObject>
#include <QPointer>
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
    QString torrentIndexKeyword() const { return m_torrentIndexKeyword; }
    QString torrentRssKeyword() const { return m_torrentRssKeyword; }
    qint16 torrentIndexHits() const { return m_torrentIndexHits; }
    qint16 torrentRssHits() const { return m_torrentRssHits; }

private:
    void searchTorrentIndex();
    void searchTorrentRss();
    void searchFilmResource();
    // Clears the source's list, shows `status` and holds `button` until the
    // search ends.
    void beginSearch(ResultList* list, QPushButton* button, const QString& status);
    // Fetches with GetBody into `into`. False when there is nothing to cut:
    // this object went away during the wait (touch nothing then), or the page
    // came back empty (`button` is on again and the status line says why).
    bool fetchPage(CutPage& into, const QString& url, const QPointer<QPushButton>& button);
    void releaseTexts();

    QPointer<QWidget> m_form1;
    QPointer<QPushButton> m_command2[3];
    QPointer<QLineEdit> m_text2, m_text4, m_text8, m_text13, m_text14;
    QPointer<ResultList> m_listView2, m_listView4, m_listView13;
    QPointer<QTimer> m_timer3, m_timer4, m_timer5, m_timer6;

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
