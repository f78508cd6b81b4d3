#pragma once
// The cloud-disk search on page 0 of the main window: Text1, the 24 service
// boxes, Command1, ListView1, Frame5, Timer17 (cut) and Timer18 (not found),
// and the export item dcsj of ListView1's menu.
//
// All ticked services are asked at once; their pages are handled strictly in
// box order as each becomes available, so the first box's rows appear as
// soon as its page is in while the others still load. Command1 stays
// disabled until every ticked service has been handled.
//
// A fetched page is held only until the next cutting tick and nothing cut is
// kept between searches, so the memory release has nothing of ours to empty;
// it does switch our timers off, though, and a running search re-arms them
// so that it still lists its pages and gives the button back.
#include <QList>
#include <QObject>
#include <QPointer>
#include <QString>

#include <array>
#include <deque>

class QCheckBox;
class QGroupBox;
class QLineEdit;
class QPushButton;
class QTimer;
class QWidget;

namespace lumorra {

class FetchJob;
class ResultList;

class CloudDiskSearch : public QObject {
    Q_OBJECT
public:
    static constexpr int kServiceCount = 24;
    // Requests on the way at once: what the HTTP client opens per host.
    static constexpr int kRequestsInFlight = 6;

    // Finds the controls and timers under form1 by objectName and connects
    // them. Controls that are missing leave their part inert.
    explicit CloudDiskSearch(QWidget* form1);
    ~CloudDiskSearch() override;

    void Text1_Change();
    void Command1_Click();
    void Timer17_Timer();
    void Timer18_Timer();
    void dcsj_Click();

    // True from a search's start until every ticked service was handled and
    // the button is enabled again.
    bool isSearching() const { return m_searching; }
    QString encodedKeyword() const { return m_encodedKeyword; }
    // Path of the export file: the program directory + "/网盘资源数据.txt".
    static QString exportPath();

signals:
    // A search has ended (rows listed, nothing found, or every service
    // failed) and Command1 is enabled again.
    void searchEnded();

private:
    // One ticked service of the running search, waiting for its turn.
    struct Service {
        int index;
        QString url;
        bool started = false;
        QPointer<FetchJob> job;
    };
    // A fetched page with records, waiting for the next Timer17 tick.
    struct FetchedPage {
        int index;
        QString page;
    };

    // Sends the next queued requests while fewer than kRequestsInFlight are
    // on the way, in box order.
    void startQueuedRequests(quint64 generation);
    // Handles the finished pages at the front of the queue, in box order.
    void takeReadyPages();
    // Counts a page's records and arms the cut and not-found timers.
    void hx8(const QString& page, int serviceIndex);
    // Ends the search when every service is handled and every page listed.
    void finishIfDone();
    void endSearch();
    // Forgets a running search: its requests are aborted, their pages never
    // reach the list.
    void dropRunningSearch();
    bool allHandled() const { return m_waiting.empty() && m_fetched.isEmpty(); }
    // After the memory release has stopped Timer17 and Timer18.
    void rearmTimers();

    QWidget* m_form1;
    QLineEdit* m_text1 = nullptr;
    QLineEdit* m_text3 = nullptr;
    QPushButton* m_command1 = nullptr;
    std::array<QCheckBox*, kServiceCount> m_check2{};
    ResultList* m_listView1 = nullptr;
    QGroupBox* m_frame5 = nullptr;
    QTimer* m_timer17 = nullptr;
    QTimer* m_timer18 = nullptr;

    QString m_encodedKeyword;
    // Tells the requests of the running search from those of an earlier one.
    quint64 m_generation = 0;
    bool m_searching = false;
    std::deque<Service> m_waiting;     // box order
    QList<FetchedPage> m_fetched;      // box order
    QString m_serviceName;             // caption of the last service that answered
    QString m_diskKind;                // kind of the last listed row
    int m_answered = 0;                // services whose page arrived
    int m_failed = 0;                  // services whose request failed
    int m_releaseHook = 0;
};

// Creates the search under form1 (once; a second call returns the first).
// Needs the cloud-disk page, the status line and the timers Timer17 and
// Timer18 under form1; the export item is bound with bindRowAction, so it
// works whether or not installRowActions ran before.
CloudDiskSearch* installCloudDiskSearch(QWidget* form1);

} // namespace lumorra
