#pragma once
// The cloud on-demand entries of the main window: the film menu item
// "云端播放" (jdydbf, the first ed2k link of the row's page), the magnet menu
// item "在线云端播放" (ydydbf, the row's magnet link), and the on-demand tab's
// Command43 "在线云点播" (Text12) and Command56 "粘贴地址".
#include "net/page_fetcher.h"

#include <QObject>

class QLineEdit;
class QWidget;

namespace lumorra {

class ResultList;

class OnDemandHandlers : public QObject {
    Q_OBJECT
public:
    explicit OnDemandHandlers(QWidget* form1);

    void jdydbf_Click();
    void ydydbf_Click();
    void Command43_Click();
    void Command56_Click();

    static QString enjoyText();   // "请您欣赏.."

signals:
    // The film page of jdydbf has been read (the window opened, or the
    // status line says why not).
    void filmPageRead();

private:
    QWidget* m_form1;
    ResultList* m_emuleFilmList = nullptr;       // ListView6
    ResultList* m_magnetList = nullptr;          // ListView19
    QLineEdit* m_onDemandAddressBox = nullptr;   // Text12
    LatestFetch m_filmPageFetch;
};

} // namespace lumorra
