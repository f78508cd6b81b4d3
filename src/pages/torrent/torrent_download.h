#pragma once
// "下载视频种子" (dkbtxz) on ListView4: the hidden browser WebBrowser2 opens the
// row's torrent address and the download it offers is saved in the user's
// download folder under a name no existing file has.
//
// The browser has no time-out or size cap of its own that we could rely on:
// the fetcher's time-out (whole attempt, navigation and transfer) and body
// cap apply, so a stalled or endless server ends the attempt like any page.
#include <QHash>
#include <QObject>
#include <QPointer>
#include <QSet>
#include <QString>

class QTimer;
class QWebEngineDownloadRequest;
class QWebEngineLoadingInfo;
class QWebEnginePage;
class QWebEngineProfile;
class QWebEngineView;
class QWidget;

namespace lumorra {

class ResultList;

// A file name in `folder` that no file there has and that is not in
// `taken`: `suggested` itself (its directory part dropped), else
// "name(1).ext", "name(2).ext", … An empty suggestion becomes "download.torrent".
QString freeFileName(const QString& folder, const QString& suggested, const QSet<QString>& taken = {});

class TorrentDownload : public QObject {
    Q_OBJECT
public:
    explicit TorrentDownload(QWidget* form1);

    void dkbtxz_Click();

    // Where downloads go: the user's download folder unless set (tests).
    void setDownloadFolder(const QString& folder) { m_folder = folder; }
    QString downloadFolder() const;

    // How long a navigation that stopped may take to offer its download
    // before it counts as offering none.
    void setOfferWaitMs(int ms);

    static QString startedText();   // "开始下载..."

signals:
    // A download has ended: saved as `path`, or failed (`path` empty). Also
    // after a refused address and a page that offered no download.
    void downloadEnded(bool ok, const QString& path);

private:
    // WebBrowser2 under form1, created hidden on first use.
    QWebEngineView* browser();
    void watchProfile(QWebEngineProfile* profile);
    void onDownloadRequested(QWebEngineDownloadRequest* download);
    void onLoadingChanged(const QWebEngineLoadingInfo& info);
    // Reports the end; the end of the latest attempt also frees the browser.
    void endWith(bool ok, const QString& status, const QString& path = {}, bool latestAttempt = true);
    // Ends the latest download (or navigation) now, for `reason`.
    void giveUp(const QString& reason);
    void cancelDownload(QWebEngineDownloadRequest* download, const QString& reason);

    QWidget* m_form1;
    ResultList* m_rssResults = nullptr;   // ListView4
    QPointer<QWebEngineView> m_browser;
    QPointer<QWebEnginePage> m_watchedPage;
    QPointer<QWebEngineProfile> m_watchedProfile;
    QTimer* m_offerWait = nullptr;
    QTimer* m_deadline = nullptr;   // the fetcher's time-out, per attempt
    // The download the latest attempt accepted, while it runs.
    QPointer<QWebEngineDownloadRequest> m_download;
    // Downloads we cancelled, and why.
    QHash<QWebEngineDownloadRequest*, QString> m_cancelReasons;
    QString m_folder;
    // Names chosen for downloads still running: not free either.
    QSet<QString> m_reserved;
    // A navigation is in force and has not ended (download offered, page
    // shown, failed).
    bool m_navigating = false;
    bool m_downloadOffered = false;
};

// Binds dkbtxz under form1; a second call returns the same object.
TorrentDownload* installTorrentDownload(QWidget* form1);

} // namespace lumorra
