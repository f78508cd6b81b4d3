#pragma once
// The live channels on tab 4 of SSTab3: a double click on List1 loads the
// channel's page into the browser WebBrowser1, and every page it completes
// is checked for the provider's live portal.
#include <QObject>

class QListWidget;
class QWebEngineView;
class QWidget;

namespace lumorra {

class LiveChannels : public QObject {
    Q_OBJECT
public:
    explicit LiveChannels(QWidget* form1);

    void List1_DblClick();
    void WebBrowser1_DocumentComplete();

signals:
    // A page has completed; `portal` tells whether it was the live portal.
    void livePageChecked(bool portal);

private:
    QListWidget* m_channelList = nullptr;      // List1
    QWebEngineView* m_liveBrowser = nullptr;   // WebBrowser1
};

} // namespace lumorra
