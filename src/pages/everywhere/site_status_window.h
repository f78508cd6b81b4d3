#pragma once
// The site status: a check of every site of sites.ini, started when the
// window opens and again on "重新检查", and each source's last outcome
// since the program started, updated as sources end.
#include <QWidget>

class QLabel;
class QPushButton;

namespace lumorra {

class SiteCheck;

class SiteStatusWindow : public QWidget {
    Q_OBJECT
public:
    explicit SiteStatusWindow(QWidget* parent = nullptr);

    SiteCheck* check() const { return m_check; }
    void recheck();

    static QString checkingText(); // "正在检查全部站点.."
    static QString checkedText(int answered, int failed);

private:
    void updateSummary();

    SiteCheck* m_check = nullptr;
    QLabel* m_summary = nullptr;
    QPushButton* m_recheckButton = nullptr;
};

// Opens (or raises) the site status window of `owner` and, when it was not
// open, checks every site. The window is a child of `owner` and goes with it.
SiteStatusWindow* showSiteStatusWindow(QWidget* owner);

} // namespace lumorra
