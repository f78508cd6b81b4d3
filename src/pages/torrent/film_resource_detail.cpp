#include "pages/torrent/film_resource_detail.h"

#include "lists/result_list.h"
#include "lists/row_actions.h"
#include "lists/status_line.h"
#include "sources/torrent/film_resource_detail_parse.h"
#include "text/cut.h"

#include <QListWidget>
#include <QWidget>

#include <limits>

namespace lumorra {

namespace {
// The detail address of a ListView13 row ("影视地址").
constexpr int kDetailCell = 4;
}

QString FilmResourceDetail::doneText()
{
    return QStringLiteral("种子提取完毕..");
}

QString FilmResourceDetail::failureText(FetchError error)
{
    const QString reason = error == FetchError::None ? QStringLiteral("未获取到页面内容")
                                                     : fetchErrorText(error);
    return QStringLiteral("种子提取失败：") + reason + QStringLiteral("，请稍后重试..");
}

QString FilmResourceDetail::failureText(const FetchResult& result)
{
    if (result.okStatus())
        return failureText(result.error);
    return QStringLiteral("种子提取失败：") + pageFailureText(result) + QStringLiteral("，请稍后重试..");
}

FilmResourceDetail::FilmResourceDetail(QWidget* form1) : QObject(form1)
{
    setObjectName(QStringLiteral("FilmResourceDetail"));
    m_listView13 = findResultList(form1, QStringLiteral("ListView13"));
    m_list2 = form1->findChild<QListWidget*>(QStringLiteral("List2"));
    if (m_listView13)
        connect(m_listView13, &ResultList::listDoubleClicked, this, &FilmResourceDetail::ListView13_DblClick);
}

void FilmResourceDetail::ListView13_DblClick()
{
    QTreeWidgetItem* row = guardedSelection(m_listView13);
    if (!row)
        return;
    StatusLine::set(QStringLiteral("正在提取种子.."));
    m_qvodLinkHits = 0;
    if (m_list2)
        m_list2->clear();
    const QString address = m_listView13->cellAt(row, kDetailCell);
    m_fetch.get(address, FetchMode::WithIfModifiedSince, this, [this](const FetchResult& r) {
        if (!r.hasPage()) {
            StatusLine::set(failureText(r));
            emit resolved(false);
            return;
        }
        listQvodLinks(r.text);
        emit resolved(true);
    });
}

void FilmResourceDetail::listQvodLinks(const QString& page)
{
    const qsizetype found = findOccurrences(page, u"qvod://").size();
    m_qvodLinkHits = qint16(qMin<qsizetype>(found, std::numeric_limits<qint16>::max()));
    if (m_list2)
        m_list2->addItems(collectQvodLinks(page));
    // Also when the page holds no link: the step has ended and List2 says
    // what it found.
    StatusLine::set(doneText());
}

FilmResourceDetail* installFilmResourceDetail(QWidget* form1)
{
    if (!form1)
        return nullptr;
    if (auto* existing = form1->findChild<FilmResourceDetail*>(QString(), Qt::FindDirectChildrenOnly))
        return existing;
    return new FilmResourceDetail(form1);
}

} // namespace lumorra
