#include "pages/film/film_listings.h"

#include "lists/result_list.h"
#include "lists/row_actions.h"
#include "lists/status_line.h"
#include "net/site_config.h"
#include "sources/film/film_list_parse.h"
#include "pages/page_widgets.h"
#include "text/cut.h"

#include <QAbstractButton>
#include <QListWidget>
#include <QPointer>
#include <QWidget>

namespace lumorra {

namespace {

const char kInstanceName[] = "FilmListings";

QString filmListSite()
{
    return SiteConfig::current().base(QString::fromLatin1(role::FilmListSite));
}

QString reasonOf(const FetchResult& result)
{
    return pageFailureText(result);
}

} // namespace

QString filmListingFailedText(const FetchResult& result)
{
    return QStringLiteral("资源获取失败(") + reasonOf(result) + QStringLiteral("),请稍后再试..");
}

QString filmListingEmptyText()
{
    return QStringLiteral("获取完毕..本页没有资源记录");
}

QString filmLinkFailedText(const FetchResult& result)
{
    if (!result.hasPage())
        return QStringLiteral("种子地址解析失败(") + reasonOf(result) + QStringLiteral("),请稍后再试..");
    return QStringLiteral("种子地址解析失败(页面中没有下载地址)..");
}

FilmListings::FilmListings(QWidget* form1) : QObject(form1), m_form1(form1)
{
    setObjectName(QString::fromLatin1(kInstanceName));
    m_listView5 = findResultList(form1, QStringLiteral("ListView5"));
    m_list3 = form1->findChild<QListWidget*>(QStringLiteral("List3"));
    for (int i = 0; i < kFilmCategoryCount; ++i) {
        if (auto* b = form1->findChild<QAbstractButton*>(pageui::arrayName(QStringLiteral("Command14"), i)))
            connect(b, &QAbstractButton::clicked, this, [this, i] { Command14_Click(i); });
    }
    if (m_listView5)
        connect(m_listView5, &ResultList::listDoubleClicked, this, &FilmListings::ListView5_DblClick);
    const QPointer<FilmListings> self(this);
    bindRowAction(form1, QString::fromLatin1(kParseFilmItem), [self] {
        if (self)
            self->jxyszz_Click();
    });
}

FilmListings* FilmListings::of(QWidget* form1)
{
    return form1 ? form1->findChild<FilmListings*>(QString::fromLatin1(kInstanceName), Qt::FindDirectChildrenOnly)
                 : nullptr;
}

void FilmListings::Command14_Click(int index)
{
    if (index < 0 || index >= kFilmCategoryCount)
        return;
    const QString base = filmListSite();
    m_listingFetch.get(filmCategoryIndexUrl(base, index), FetchMode::Plain, this,
                       [this, base, index](const FetchResult& result) {
        // Nothing came back: the rows of the last listing stay.
        if (!result.hasPage()) {
            const QString reason = filmListingFailedText(result);
            StatusLine::set(reason);
            emit failed(reason);
            emit listingLoaded(index);
            return;
        }
        const QList<FilmListRow> films = cutFilmListRows(CutPage(result.text), base, index);
        if (m_listView5) {
            m_listView5->clearRows();
            for (int i = 0; i < films.size(); ++i)
                m_listView5->addRow(listRow(i + 1, films.at(i)));
        }
        // A status for every ending, so that a failure shown earlier does
        // not stand beside the rows of a later success.
        StatusLine::set(films.isEmpty() ? filmListingEmptyText() : QStringLiteral("获取完毕.."));
        emit listingLoaded(index);
    });
}

void FilmListings::ListView5_DblClick()
{
    resolveFilmLink(true);
}

void FilmListings::jxyszz_Click()
{
    resolveFilmLink(false);
}

void FilmListings::resolveFilmLink(bool replaceLinks)
{
    QTreeWidgetItem* row = guardedSelection(m_listView5);
    if (!row)
        return;
    StatusLine::set(QStringLiteral("正在解析..请稍等.."));
    m_linkFetch.get(m_listView5->cellAt(row, 2), FetchMode::Plain, this,
                    [this, replaceLinks](const FetchResult& result) {
        const QString link = result.hasPage() ? filmDownloadLink(result.text) : QString();
        if (link.isEmpty()) {
            const QString reason = filmLinkFailedText(result);
            StatusLine::set(reason);
            emit failed(reason);
            emit filmLinkEnded(false);
            return;
        }
        StatusLine::set(QStringLiteral("种子地址已解析.."));
        if (m_list3) {
            if (replaceLinks)
                m_list3->clear();
            m_list3->addItem(link);
        }
        emit filmLinkEnded(true);
    });
}

void installFilmListings(QWidget* form1)
{
    if (!form1 || FilmListings::of(form1))
        return;
    new FilmListings(form1);
}

} // namespace lumorra
