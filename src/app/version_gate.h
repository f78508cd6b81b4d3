#pragma once
// The version gate and the announcement line of the main window: Timer9
// checks the version file once, one second after start; Timer12 fetches the
// announcement file and then rotates its items through Label17.
#include "net/page_fetcher.h"

#include <QObject>
#include <QString>

class QLabel;
class QTimer;
class QWidget;

namespace lumorra {

class VersionGate : public QObject {
    Q_OBJECT
public:
    VersionGate(QTimer* timer9, QTimer* timer12, QLabel* label17, QWidget* window);

    void Timer9_Timer();    // version check (once)
    void Timer12_Timer();   // announcement fetch and rotation
    void Label17_Click();   // the announcement line

    // The number of the announcement on show (0 before the first).
    int announcementNumber() const { return m_announcementNumber; }
    QString announcementUrl() const { return m_announcementUrl; }

    // Status and message texts.
    static QString welcomeText();           // "欢迎使用Tessaly旗下Brenn系列软件 .."
    static QString unavailableText();       // "暂时无法使用!请您稍后再试!"
    static QString newVersionText(const QString& fetched);
    static QString announcementWaitText();  // "正在获取公告，请稍等.."

signals:
    // The version file names this release: the window may be used.
    void unlocked();
    // The check failed or named a newer release; the user has been told (and
    // sent to the maker's site): the program must end.
    void endRequested();
    // Announcement `number` is on show.
    void announcementShown(int number);

private:
    void showAnnouncement(int number);

    QTimer* m_versionCheckTimer;   // Timer9
    QTimer* m_announcementTimer;   // Timer12
    QLabel* m_announcementLine;    // Label17
    QWidget* m_window;

    bool m_versionChecked = false;
    LatestFetch m_versionFetch;
    LatestFetch m_announcementFetch;
    QString m_announcementText;
    int m_announcementNumber = 0;
    QString m_announcementUrl;
};

} // namespace lumorra
