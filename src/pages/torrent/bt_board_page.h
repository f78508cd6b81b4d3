#pragma once
// SSTab2 page 6, "影视资源④": the boards of the BT forum, posts in ListView18.
#include <QWidget>

namespace lumorra {

class ResultList;

class BtBoardPage : public QWidget {
    Q_OBJECT
public:
    explicit BtBoardPage(QWidget* parent = nullptr);

private:
    ResultList* m_boardPosts = nullptr;   // ListView18
};

} // namespace lumorra
