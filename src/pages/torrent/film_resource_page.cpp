#include "pages/torrent/film_resource_page.h"

#include "ui/page_number_box.h"
#include "lists/result_list.h"
#include "pages/page_widgets.h"

#include <QEvent>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace lumorra {

QString FilmResourcePage::keywordHint()
{
    return QStringLiteral("请您输入关键字..");
}

FilmResourcePage::FilmResourcePage(QWidget* parent) : QWidget(parent)
{
    using namespace pageui;
    auto* page = pageColumn(this);

    auto* query = new QHBoxLayout;
    m_keywordBox = addCaptionedBox(query, QStringLiteral("请输入资源关键字："), QStringLiteral("Text13"), this,
                               keywordHint());
    m_keywordBox->installEventFilter(this);
    query->addSpacing(16);
    m_pageBox = new PageNumberBox(2, this);
    query->addWidget(m_pageBox);
    query->addSpacing(16);
    m_search = button(arrayName(QStringLiteral("Command2"), 2), QStringLiteral("获取资源"), this);
    query->addWidget(m_search);
    page->addLayout(query);

    m_resultList = new ResultList(QStringLiteral("ListView13"), this);
    page->addWidget(m_resultList, 1);

    m_linkList = addAddressBox(page, QStringLiteral("单击列表可复制文件地址 | 双击列表可进行在线播放"),
                            QStringLiteral("List2"), this);
}

bool FilmResourcePage::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_keywordBox) {
        if (event->type() == QEvent::FocusIn)
            Text13_GotFocus();
        else if (event->type() == QEvent::FocusOut)
            Text13_LostFocus();
    }
    return QWidget::eventFilter(watched, event);
}

void FilmResourcePage::Text13_GotFocus()
{
    if (m_keywordBox->text() == keywordHint())
        m_keywordBox->clear();
}

void FilmResourcePage::Text13_LostFocus()
{
    if (m_keywordBox->text().isEmpty())
        m_keywordBox->setText(keywordHint());
}

} // namespace lumorra
