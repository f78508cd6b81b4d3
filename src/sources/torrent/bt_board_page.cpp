#include "sources/torrent/bt_board_page.h"

#include "lists/result_list.h"
#include "sources/page_widgets.h"

#include <QHBoxLayout>
#include <QVBoxLayout>

namespace lumorra {

BtBoardPage::BtBoardPage(QWidget* parent) : QWidget(parent)
{
    using namespace pageui;
    auto* page = new QVBoxLayout(this);
    tidy(page, true);

    auto* paging = new QHBoxLayout;
    addButtonArray(paging, QStringLiteral("Command3"), 0, pagingCaptions(), this);
    paging->addStretch(1);
    page->addLayout(paging);

    m_listView18 = new ResultList(QStringLiteral("ListView18"), this);
    page->addWidget(m_listView18, 1);
}

} // namespace lumorra
