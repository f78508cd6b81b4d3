#include "pages/torrent/bt_board_page.h"

#include "lists/result_list.h"
#include "pages/page_widgets.h"

#include <QHBoxLayout>
#include <QVBoxLayout>

namespace lumorra {

BtBoardPage::BtBoardPage(QWidget* parent) : QWidget(parent)
{
    using namespace pageui;
    auto* page = pageColumn(this);

    addPagingRow(page, QStringLiteral("Command3"), 0, this);

    m_boardPosts = new ResultList(QStringLiteral("ListView18"), this);
    page->addWidget(m_boardPosts, 1);
}

} // namespace lumorra
