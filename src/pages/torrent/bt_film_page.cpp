#include "pages/torrent/bt_film_page.h"

#include "lists/result_list.h"
#include "pages/page_widgets.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace lumorra {

BtFilmPage::BtFilmPage(QWidget* parent) : QWidget(parent)
{
    using namespace pageui;
    auto* page = pageColumn(this);

    addPagingRow(page, QStringLiteral("Commandz3"), 0, this);

    m_btFilms = new ResultList(QStringLiteral("ListView16"), this);
    page->addWidget(m_btFilms, 1);

    auto* filmFrame = frame(QStringLiteral("影片信息"), this);
    auto* film = new QHBoxLayout(filmFrame);
    m_filmNameBox = addCaptionedBox(film, QStringLiteral("影片名称："), QStringLiteral("Text6"), filmFrame);
    film->addSpacing(16);
    m_updatedLabel = label(QStringLiteral("更新日期：NONE"), filmFrame);
    m_updatedLabel->setObjectName(QStringLiteral("Label38"));
    m_updatedLabel->setMinimumWidth(220);
    film->addWidget(m_updatedLabel);
    page->addWidget(filmFrame);

    auto* magnet = frame(QStringLiteral("磁力链接"), this);
    auto* magnetRow = new QHBoxLayout(magnet);
    m_magnetBox = lineEdit(QStringLiteral("Text18"), magnet);
    magnetRow->addWidget(m_magnetBox, 1);
    m_playOnDemand = button(arrayName(QStringLiteral("Commandz3"), 4),
                            QStringLiteral("在线云点播"), magnet);
    magnetRow->addWidget(m_playOnDemand);
    page->addWidget(magnet);
}

} // namespace lumorra
