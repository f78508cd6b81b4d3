#include "pages/torrent/torrent_download.h"

#include "lists/result_list.h"
#include "lists/row_actions.h"
#include "lists/status_line.h"
#include "net/address_check.h"
#include "net/page_fetcher.h"
#include "ui/silent_web_page.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTimer>
#include <QUrl>
#include <QWebEngineDownloadRequest>
#include <QWebEngineLoadingInfo>
#include <QWebEngineProfile>
#include <QWebEngineView>
#include <QWidget>

namespace lumorra {

namespace {

// The torrent address of a ListView4 row ("种子地址").
constexpr int kTorrentCell = 4;

QString failureText(const QString& reason)
{
    return QStringLiteral("种子下载失败：") + reason + QStringLiteral("..");
}

// The browser's reason for a load that failed, in the fetcher's words where
// it has them (the browser's own are English and technical).
QString loadFailureReason(const QWebEngineLoadingInfo& info)
{
    if (info.errorDomain() == QWebEngineLoadingInfo::HttpStatusCodeDomain) {
        FetchResult page;
        page.status = info.errorCode();
        return pageFailureText(page);
    }
    switch (info.errorCode()) {
    case -7:     // ERR_TIMED_OUT
    case -118:   // ERR_CONNECTION_TIMED_OUT
        return fetchErrorText(FetchError::Timeout);
    case -100:   // ERR_CONNECTION_CLOSED
    case -101:   // ERR_CONNECTION_RESET
    case -102:   // ERR_CONNECTION_REFUSED
    case -104:   // ERR_CONNECTION_FAILED
    case -105:   // ERR_NAME_NOT_RESOLVED
    case -109:   // ERR_ADDRESS_UNREACHABLE
    case -324:   // ERR_EMPTY_RESPONSE
        return fetchErrorText(FetchError::Refused);
    case -310:   // ERR_TOO_MANY_REDIRECTS
        return fetchErrorText(FetchError::RedirectLoop);
    default:
        return info.errorString();
    }
}

} // namespace

QString freeFileName(const QString& folder, const QString& suggested, const QSet<QString>& taken)
{
    QString name = QFileInfo(suggested).fileName();
    if (name.isEmpty() || name == u"." || name == u"..")
        name = QStringLiteral("download.torrent");
    const QDir dir(folder);
    auto isFree = [&](const QString& candidate) {
        return !taken.contains(candidate) && !QFileInfo::exists(dir.filePath(candidate));
    };
    if (isFree(name))
        return name;
    const QFileInfo info(name);
    const QString stem = info.completeBaseName();
    const QString suffix = info.suffix().isEmpty() ? QString() : u'.' + info.suffix();
    for (int n = 1;; ++n) {
        const QString candidate = stem + u'(' + QString::number(n) + u')' + suffix;
        if (isFree(candidate))
            return candidate;
    }
}

QString TorrentDownload::startedText()
{
    return QStringLiteral("开始下载...");
}

TorrentDownload::TorrentDownload(QWidget* form1) : QObject(form1), m_form1(form1)
{
    setObjectName(QStringLiteral("TorrentDownload"));
    m_rssResults = findResultList(form1, QStringLiteral("ListView4"));
    m_offerWait = new QTimer(this);
    m_offerWait->setSingleShot(true);
    m_offerWait->setInterval(5000);
    connect(m_offerWait, &QTimer::timeout, this, [this] {
        if (m_navigating && !m_downloadOffered)
            endWith(false, failureText(QStringLiteral("该地址没有提供种子文件")));
    });
    m_deadline = new QTimer(this);
    m_deadline->setSingleShot(true);
    connect(m_deadline, &QTimer::timeout, this, [this] { giveUp(fetchErrorText(FetchError::Timeout)); });
}

void TorrentDownload::giveUp(const QString& reason)
{
    if (m_navigating) {
        if (m_browser)
            m_browser->stop();
        endWith(false, failureText(reason));
    } else if (m_download && !m_download->isFinished()) {
        cancelDownload(m_download, reason);
    }
}

void TorrentDownload::cancelDownload(QWebEngineDownloadRequest* download, const QString& reason)
{
    if (m_cancelReasons.contains(download))
        return;
    m_cancelReasons.insert(download, reason);
    download->cancel();   // its isFinishedChanged reports the reason
}

void TorrentDownload::setOfferWaitMs(int ms)
{
    m_offerWait->setInterval(ms);
}

QString TorrentDownload::downloadFolder() const
{
    if (!m_folder.isEmpty())
        return m_folder;
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::DownloadLocation);
    return folder.isEmpty() ? QDir::homePath() : folder;
}

QWebEngineView* TorrentDownload::browser()
{
    if (!m_browser)
        m_browser = m_form1->findChild<QWebEngineView*>(QStringLiteral("WebBrowser2"));
    if (!m_browser) {
        auto* view = new QWebEngineView(m_form1);
        view->setObjectName(QStringLiteral("WebBrowser2"));
        view->setPage(new SilentWebPage(view));
        view->hide();
        m_browser = view;
    }
    if (!m_watchedPage || m_watchedPage != m_browser->page()) {
        m_watchedPage = m_browser->page();
        connect(m_watchedPage, &QWebEnginePage::loadingChanged, this, &TorrentDownload::onLoadingChanged);
    }
    QWebEngineProfile* profile = m_browser->page()->profile();
    if (m_watchedProfile != profile) {
        m_watchedProfile = profile;
        connect(profile, &QWebEngineProfile::downloadRequested, this, &TorrentDownload::onDownloadRequested);
    }
    return m_browser;
}

void TorrentDownload::dkbtxz_Click()
{
    QTreeWidgetItem* row = guardedSelection(m_rssResults);
    if (!row)
        return;
    const QString address = m_rssResults->cellAt(row, kTorrentCell).trimmed();
    // The address comes from a remote feed: only web and ftp addresses are
    // opened, never a local file or a script.
    if (!isAllowedAddress(address, AddressUse::Transfer)) {
        endWith(false, failureText(QStringLiteral("只能下载http、https或ftp地址的种子")));
        return;
    }
    QWebEngineView* view = browser();
    m_navigating = true;
    m_downloadOffered = false;
    m_download = nullptr;
    m_offerWait->stop();
    m_deadline->start(PageFetcher::instance().timeoutMs());
    view->setUrl(QUrl(address));
    StatusLine::set(startedText());
}

void TorrentDownload::onLoadingChanged(const QWebEngineLoadingInfo& info)
{
    // The blank page loaded after an ending says nothing of the attempt
    // that may have started since (a new address stops it half-way).
    if (!m_navigating || info.url().scheme() == u"about")
        return;
    switch (info.status()) {
    case QWebEngineLoadingInfo::LoadSucceededStatus:
        // A page was shown instead of a file being offered.
        if (!m_downloadOffered)
            endWith(false, failureText(QStringLiteral("该地址没有提供种子文件")));
        break;
    case QWebEngineLoadingInfo::LoadFailedStatus:
        if (!m_downloadOffered)
            endWith(false, failureText(loadFailureReason(info)));
        break;
    case QWebEngineLoadingInfo::LoadStoppedStatus:
        // A navigation that becomes a download stops first and offers the
        // download just after; one that stops for another reason offers
        // nothing, and the wait ends it.
        if (!m_downloadOffered)
            m_offerWait->start();
        break;
    default:
        break;
    }
}

void TorrentDownload::onDownloadRequested(QWebEngineDownloadRequest* download)
{
    if (!download || !m_browser || download->page() != m_browser->page()
        || download->state() != QWebEngineDownloadRequest::DownloadRequested)
        return;
    if (!m_navigating) {
        // Offered after its attempt had ended (given up, or a page shown).
        download->cancel();
        return;
    }
    m_downloadOffered = true;
    m_navigating = false;
    m_offerWait->stop();
    m_download = download;

    const QString folder = downloadFolder();
    QDir().mkpath(folder);
    // Chosen here, never left to the browser: a name set on the download is
    // written over whatever file has it.
    const QString name = freeFileName(folder, download->suggestedFileName(), m_reserved);
    const QString path = QDir(folder).filePath(name);
    m_reserved.insert(name);
    download->setDownloadDirectory(folder);
    download->setDownloadFileName(name);
    const qint64 cap = PageFetcher::instance().maxBodyBytes();
    connect(download, &QWebEngineDownloadRequest::receivedBytesChanged, this, [this, download, cap] {
        if (download->receivedBytes() > cap)
            cancelDownload(download, fetchErrorText(FetchError::TooLarge));
    });
    connect(download, &QWebEngineDownloadRequest::isFinishedChanged, this, [this, download, name, path] {
        if (!download->isFinished())
            return;
        m_reserved.remove(name);
        // A download the user started before the latest attempt ends on its
        // own: it does not end the attempt that now runs in the browser.
        const bool latest = download == m_download;
        if (latest)
            m_deadline->stop();
        const QString cancelled = m_cancelReasons.take(download);
        if (download->state() == QWebEngineDownloadRequest::DownloadCompleted && download->receivedBytes() == 0) {
            // Nothing came: no torrent, and no empty file left behind.
            QFile::remove(path);
            endWith(false, failureText(pageFailureText(FetchResult{})), {}, latest);
        } else if (download->state() == QWebEngineDownloadRequest::DownloadCompleted) {
            endWith(true, QStringLiteral("种子下载完毕，已保存为：") + QDir::toNativeSeparators(path), path,
                latest);
        } else {
            endWith(false, failureText(cancelled.isEmpty() ? download->interruptReasonString() : cancelled),
                {}, latest);
        }
    });
    if (download->totalBytes() > cap) {
        m_cancelReasons.insert(download, fetchErrorText(FetchError::TooLarge));
        download->cancel();
        return;
    }
    download->accept();
}

void TorrentDownload::endWith(bool ok, const QString& status, const QString& path, bool latestAttempt)
{
    if (latestAttempt) {
        m_navigating = false;
        m_offerWait->stop();
        if (!m_download || m_download->isFinished())
            m_deadline->stop();
        // Whatever the address showed (an error page, a page instead of a
        // file) does not stay loaded, running its scripts, in a browser
        // nobody sees.
        if (m_browser)
            m_browser->setUrl(QUrl(QStringLiteral("about:blank")));
    }
    StatusLine::set(status);
    emit downloadEnded(ok, path);
}

TorrentDownload* installTorrentDownload(QWidget* form1)
{
    if (!form1)
        return nullptr;
    if (auto* existing = form1->findChild<TorrentDownload*>(QString(), Qt::FindDirectChildrenOnly))
        return existing;
    auto* download = new TorrentDownload(form1);
    const QPointer<TorrentDownload> guard(download);
    bindRowAction(form1, QStringLiteral("dkbtxz"), [guard] {
        if (guard)
            guard->dkbtxz_Click();
    });
    return download;
}

} // namespace lumorra
