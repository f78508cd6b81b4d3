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
// The flow itself (requests, box order, the cutting and not-found steps,
// the endings) is the engine's; this page gives it the boxes' values and
// shows what it says.
#include "sources/clouddisk/cloud_disk_engine.h"
#include "sources/clouddisk/cloud_disk_query.h"

#include <QList>
#include <QObject>
#include <QString>

#include <array>

class QCheckBox;
class QGroupBox;
class QLineEdit;
class QPushButton;
class QWidget;

namespace lumorra {

class EngineBinding;
class ResultList;

class CloudDiskSearch : public QObject {
    Q_OBJECT
public:
    static constexpr int kServiceCount = 24;
    // Requests on the way at once: what the HTTP client opens per host.
    static constexpr int kRequestsInFlight = CloudDiskEngine::kRequestsInFlight;

    // Finds the controls under form1 by objectName and binds the engine of
    // the table's "clouddisk" row to them (its steps on Timer17 and
    // Timer18). Controls that are missing leave their part inert.
    explicit CloudDiskSearch(QWidget* form1);

    void Text1_Change();
    void Command1_Click();
    void dcsj_Click();

    // True from a search's start until every ticked service was handled and
    // the button is enabled again.
    bool isSearching() const;
    QString encodedKeyword() const { return m_encodedKeyword; }
    CloudDiskEngine* engine() const { return m_engine; }
    // Path of the export file: the program directory + "/网盘资源数据.txt".
    static QString exportPath();

    // How each ticked service of the last search answered, in box order
    // (pending ones while it runs); and the same as the caption's tooltip.
    const QList<clouddisk::ServiceOutcome>& serviceOutcomes() const { return m_engine->serviceOutcomes(); }
    QString serviceStatusText() const { return clouddisk::serviceStatusTable(serviceOutcomes()); }

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
    QWidget* m_form1;
    QLineEdit* m_keywordBox = nullptr;       // Text1
    QLineEdit* m_pageBox = nullptr;          // Text3
    QPushButton* m_searchButton = nullptr;   // Command1
    std::array<QCheckBox*, kServiceCount> m_serviceBoxes{};   // Check2(0) … Check2(23)
    ResultList* m_resultList = nullptr;      // ListView1
    QGroupBox* m_resultFrame = nullptr;      // Frame5, whose caption counts the rows
    CloudDiskEngine* m_engine = nullptr;
    EngineBinding* m_binding = nullptr;
    QString m_encodedKeyword;
};

// Creates the search under form1 (once; a second call returns the first).
// Needs the cloud-disk page, the status line and the timers Timer17 and
// Timer18 under form1; the export item is bound with bindRowAction, so it
// works whether or not installRowActions ran before.
CloudDiskSearch* installCloudDiskSearch(QWidget* form1);

} // namespace lumorra
