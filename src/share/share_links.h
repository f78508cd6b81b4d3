#pragma once
// The six buttons of the settings window's share page: "QQ好友" copies the
// recommendation for a chat, the other five open a web share dialog.
#include "core/share_urls.h"

#include <QObject>

class QWidget;

namespace lumorra {

class ShareLinks : public QObject {
    Q_OBJECT
public:
    // `page` holds the buttons aicAlphaImage1 … aicAlphaImage6.
    explicit ShareLinks(QWidget* page);

    void aicAlphaImage1_Click();   // "QQ好友"
    void aicAlphaImage2_Click();   // "QQ空间"
    void aicAlphaImage3_Click();   // "腾讯微博"
    void aicAlphaImage4_Click();   // "新浪微博"
    void aicAlphaImage5_Click();   // "人人网"
    void aicAlphaImage6_Click();   // "百度贴吧"

    // The address a web button opens, for the current site addresses.
    static QString addressFor(ShareService service);

private:
    void open(ShareService service);

    QWidget* m_page;
};

} // namespace lumorra
