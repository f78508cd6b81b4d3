#include "pages/video/qvod_film_source.h"

#include "lists/result_list.h"
#include "lists/row_actions.h"
#include "lists/status_line.h"
#include "net/site_config.h"
#include "pages/video/poster.h"
#include "sources/video/qvod_film_parse.h"
#include "sources/video/video_texts.h"
#include "pages/window_timer.h"
#include "text/memory_release.h"
#include "ui/load_picture.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QTimer>
#include <QWidget>

namespace lumorra {

namespace {

QString siteBase()
{
    return SiteConfig::current().base(QString::fromLatin1(role::QvodFilmSite));
}

void setBox(QLineEdit* box, const std::optional<QString>& value)
{
    if (box && value)
        box->setText(*value);
}

} // namespace

QString QvodFilmSource::detailFrameCaption()
{
    return QStringLiteral("双击列表可解析种子地址");
}

QvodFilmSource::QvodFilmSource(QWidget* form1, QObject* parent) : QObject(parent), m_form1(form1)
{
    setObjectName(QStringLiteral("QvodFilmSource"));
    m_listView3 = findResultList(form1, QStringLiteral("ListView3"));
    m_image2 = form1->findChild<QLabel*>(QStringLiteral("Image2"));
    m_detailFrame = form1->findChild<QGroupBox*>(QStringLiteral("Frame1(19)"));
    m_text7 = form1->findChild<QLineEdit*>(QStringLiteral("Text7"));
    m_text9 = form1->findChild<QLineEdit*>(QStringLiteral("Text9"));
    m_text10 = form1->findChild<QLineEdit*>(QStringLiteral("Text10"));
    m_text11 = form1->findChild<QLineEdit*>(QStringLiteral("Text11"));
    m_timer7 = windowTimer(form1, this, QStringLiteral("Timer7"), 100);
    connect(m_timer7, &QTimer::timeout, this, &QvodFilmSource::Timer7_Timer);
    if (m_listView3)
        connect(m_listView3, &ResultList::listDoubleClicked, this, &QvodFilmSource::ListView3_DblClick);
    m_releaseHook = addReleaseHook([this] { releaseTexts(); });
}

QvodFilmSource::~QvodFilmSource()
{
    removeReleaseHook(m_releaseHook);
}

void QvodFilmSource::releaseTexts()
{
    // The release has stopped Timer7; a page that is in but not yet cut
    // gets its cut back, any other page is let go.
    if (m_rowsLeft > 0 && !m_listPage.text().isEmpty())
        m_timer7->start();
    else
        m_listPage.clear();
}

void QvodFilmSource::fetchPage()
{
    // A cut still due belongs to the page this request replaces.
    m_timer7->stop();
    m_rowsLeft = 0;
    if (m_listView3)
        m_listView3->clearRows();
    StatusLine::set(QStringLiteral("正在获取资源中..."));
    m_listFetch.get(qvodFilmChannelUrl(siteBase(), m_pageNumber), FetchMode::Plain, this,
                    [this](const FetchResult& r) {
        m_listPage.setText(r.hasPage() ? r.text : QString());
        if (!r.hasPage()) {
            const QString reason = videoListingFailedText(r);
            StatusLine::set(reason);
            emit failed(reason);
            emit listingLoaded();
            return;
        }
        m_rowsLeft = kQvodFilmRowsPerPage;
        m_timer7->start();
    });
}

void QvodFilmSource::Timer7_Timer()
{
    const int n = m_rowsLeft;
    const QList<QvodFilmRow> rows = cutQvodFilmRows(m_listPage, siteBase(), n);
    if (m_listView3) {
        for (int i = 0; i < rows.size(); ++i)
            m_listView3->addRow(listRow(i + 1, rows.at(i)));
    }
    m_rowsLeft = 0;
    StatusLine::set(rows.isEmpty() ? videoEmptyListingText() : QStringLiteral("资源获取完毕.."));
    m_timer7->stop();
    emit listingLoaded();
}

void QvodFilmSource::ListView3_DblClick()
{
    QTreeWidgetItem* row = guardedSelection(m_listView3);
    if (!row)
        return;
    StatusLine::set(QStringLiteral("正在解析..请稍等.."));
    if (m_detailFrame)
        m_detailFrame->setTitle(detailFrameCaption() + QStringLiteral("（正在解析..请稍等..）"));
    const QString url = m_listView3->cell(row, QStringLiteral("dz"));
    m_detailFetch.get(url, FetchMode::Plain, this, [this](const FetchResult& r) {
        if (!r.hasPage()) {
            const QString reason = videoDetailFailedText(r);
            if (m_detailFrame)
                m_detailFrame->setTitle(detailFrameCaption());
            StatusLine::set(reason);
            emit failed(reason);
            emit detailResolved();
            return;
        }
        const QvodFilmDetail d = cutQvodFilmDetail(r.text, siteBase());
        showPoster(d.posterUrl, m_detailFetch.generation());
        setBox(m_text7, d.thunder);
        setBox(m_text10, d.baidu);
        setBox(m_text9, d.qq);
        setBox(m_text11, d.qvod);
        StatusLine::set(QStringLiteral("种子地址已解析.."));
        if (m_detailFrame)
            m_detailFrame->setTitle(detailFrameCaption());
        emit detailResolved();
    });
}

void QvodFilmSource::showPoster(const QString& url, quint64 generation)
{
    // The poster comes later; a film chosen meanwhile keeps its own.
    LoadPicture(url, this, [this, generation](const QImage& picture) {
        if (generation == m_detailFetch.generation())
            showPosterImage(m_image2, picture);
    });
}

} // namespace lumorra
