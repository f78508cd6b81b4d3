#pragma once
// The forum-address window Form6, opened from the other-functions menu of
// the online-video page: "开始获取" (Command1) reads ForumAddressPage and
// shows its links in the boxes Text1(2) … Text1(5) ("最新地址：") and
// Text1(6), Text1(7) ("备用地址：").
#include "net/page_fetcher.h"

#include <QDialog>
#include <QList>

class QLabel;
class QLineEdit;
class QPushButton;

namespace lumorra {

class ForumAddressWindow : public QDialog {
    Q_OBJECT
public:
    explicit ForumAddressWindow(QWidget* form1);

    void Command1_Click();
    // Text1(index), index 2 … 7; nullptr otherwise.
    QLineEdit* addressBox(int index) const;

signals:
    // The page has been read: the boxes are filled, or the window says why not.
    void addressesLoaded();

private:
    QPushButton* m_fetchButton = nullptr;   // Command1
    QList<QLineEdit*> m_boxes;              // Text1(2) … Text1(7)
    QLabel* m_status = nullptr;
    LatestFetch m_fetch;
};

// Shows Form6 of form1 modally (created on first use); returns at once.
void showForumAddressWindow(QWidget* form1);
ForumAddressWindow* findForumAddressWindow(QWidget* form1);

} // namespace lumorra
