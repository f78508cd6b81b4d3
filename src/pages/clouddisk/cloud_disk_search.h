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
// Beside the status line, Frame5's caption carries a tooltip that lists each
// ticked service of the last search with its rows, its time and its failure
// reason, so a service that did not answer is never silent.
//
// A page is cut the moment it arrives, whatever its turn, and only its rows
// wait for their turn and then for the next cutting tick; nothing cut is
// kept between searches, so the memory release has nothing of ours to empty;
// it does switch our timers off, though, and a running search re-arms them
// so that it still lists its pages and gives the button back.
#include "net/ordered_fetches.h"
#include "sources/clouddisk/cloud_disk_query.h"

#include <QList>
#include <QObject>
#include <QString>

#include <array>

class QCheckBox;
class QGroupBox;
class QLineEdit;
class QPushButton;
class QTimer;
class QWidget;

namespace lumorra {

class ResultList;

class CloudDiskSearch : public QObject {
    Q_OBJECT
public:
    static constexpr int kServiceCount = 24;
    // Requests on the way at once: what the HTTP client opens per host.
    static constexpr int kRequestsInFlight = OrderedFetches::kDefaultInFlight;

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

    // How each ticked service of the last search answered, in box order
    // (pending ones while it runs); and the same as the caption's tooltip.
    const QList<clouddisk::ServiceOutcome>& serviceOutcomes() const { return m_outcomes; }
    QString serviceStatusText() const { return clouddisk::serviceStatusTable(m_outcomes); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

signals:
    // A search has ended (rows listed, nothing found, or every service
    // failed) and Command1 is enabled again.
    void searchEnded();
    // The page of ticked box `serviceIndex` was taken, in box order (its
    // rows follow on the next Timer17 tick).
    void pageTaken(int serviceIndex);

private:
    // A ticked service's answer, in box order.
    void takePage(int serviceIndex, clouddisk::ServiceAnswer answer);
    // Takes a page's records and arms the cut and not-found timers.
    void hx8(QList<clouddisk::CloudDiskRow> rows);
    // Ends the search when every service is handled and every page listed.
    void finishIfDone();
    void endSearch();
    // Forgets a running search: its requests are aborted, their pages never
    // reach the list.
    void dropRunningSearch();
    bool allHandled() const { return !m_requests.isRunning() && m_fetched.isEmpty(); }
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
    bool m_searching = false;
    OrderedFetches m_requests{kRequestsInFlight};
    QList<int> m_services;             // the ticked boxes of the running search
    QList<clouddisk::ServiceOutcome> m_outcomes;   // one per ticked box, same order
    // The rows of each page with records, in box order, waiting for the next
    // Timer17 tick.
    QList<QList<clouddisk::CloudDiskRow>> m_fetched;
    QString m_serviceName;             // caption of the last service that answered
    QString m_diskKind;                // kind of the last listed row
    int m_answered = 0;                // services whose page arrived
    int m_failed = 0;                  // services whose request failed
    QString m_failure;                 // why the last of them failed
    int m_releaseHook = 0;
};

// Creates the search under form1 (once; a second call returns the first).
// Needs the cloud-disk page, the status line and the timers Timer17 and
// Timer18 under form1; the export item is bound with bindRowAction, so it
// works whether or not installRowActions ran before.
CloudDiskSearch* installCloudDiskSearch(QWidget* form1);

} // namespace lumorra
