#pragma once
// Base URLs of every site role, read from sites.ini ([sites] section) in the
// program directory, or pointed at the bundled sample sites in demo mode; and
// the mail server that feedback is sent through ([mail] section).
#include <QString>
#include <QStringList>
#include <QMap>

namespace lumorra {

namespace role {
inline constexpr const char* CloudDiskSearch = "CloudDiskSearch";
inline constexpr const char* EmuleIndexSite = "EmuleIndexSite";
inline constexpr const char* EmuleSearchSite = "EmuleSearchSite";
inline constexpr const char* TorrentIndexSite = "TorrentIndexSite";
inline constexpr const char* TorrentRssSite = "TorrentRssSite";
inline constexpr const char* MagnetSiteA = "MagnetSiteA";
inline constexpr const char* MagnetSiteB = "MagnetSiteB";
inline constexpr const char* FilmResourceSite = "FilmResourceSite";
inline constexpr const char* BtBoardSite = "BtBoardSite";
inline constexpr const char* FilmListSite = "FilmListSite";
inline constexpr const char* QvodFilmSite = "QvodFilmSite";
inline constexpr const char* QvodSearchSite = "QvodSearchSite";
inline constexpr const char* TorrentTagSite = "TorrentTagSite";
inline constexpr const char* OnDemandService = "OnDemandService";
inline constexpr const char* LiveChannelHost = "LiveChannelHost";
inline constexpr const char* ForumAddressPage = "ForumAddressPage";
inline constexpr const char* VendorEndpoint = "VendorEndpoint";
inline constexpr const char* MakerHomePage = "MakerHomePage";
inline constexpr const char* ShareEndpoint = "ShareEndpoint";
} // namespace role

// What the [mail] Security key asks for; Default when it is absent.
enum class MailSecurity { Default, StartTls, Tls, None };

// How a send actually protects the connection, once Default is resolved.
enum class MailTransport {
    ImplicitTls,       // TLS from the first byte (smtps)
    StartTlsRequired,  // no STARTTLS offered: the send fails before AUTH
    StartTlsIfOffered, // plain when the server offers no STARTTLS
    Plain,             // never TLS, even where the server offers it
};

// Where feedback mail goes and how it gets there. The program holds no
// account of its own: without a [mail] section nothing can be sent.
struct MailSettings {
    QString host;              // SMTP server name or address
    int port = 25;
    MailSecurity security = MailSecurity::Default;
    QString user;              // empty: the server takes mail without AUTH
    QString password;
    QString from;              // sender address
    QString to;                // recipient address
    QString caFile;            // extra certificates to trust (a private server)
    int timeoutMs = 30000;     // a whole send, connection to last reply

    // A server, a sender and a recipient: enough to try a send.
    bool isComplete() const { return !host.isEmpty() && !from.isEmpty() && !to.isEmpty(); }

    // Default: TLS from the start on port 465; otherwise STARTTLS, required
    // once there is an account (User) whose password AUTH would send, and
    // taken when offered where there is none. Plain only when written so.
    MailTransport transport() const;
};

class SiteConfig {
public:
    // Every role name known to the program, in a stable order.
    static QStringList roles();
    // The path prefix the bundled sample sites serve a role under
    // ("/clouddisk" …); empty for an unknown role.
    static QString samplePrefix(const QString& role);

    // The configuration in force (process-wide).
    static SiteConfig& current();

    // Base URL of a role without a trailing slash; empty when unset.
    QString base(const QString& role) const;
    void setBase(const QString& role, const QString& url);
    // Points every role at one server; each role under its own path prefix
    // (see samplePrefix).
    void pointAllAt(const QString& serverBase);

    // Roles that have no base URL (a partial sites.ini), in roles() order.
    QStringList unsetRoles() const;

    int fetchTimeoutSeconds() const { return m_timeoutSeconds; }
    void setFetchTimeoutSeconds(int s) { m_timeoutSeconds = s; }

    const MailSettings& mail() const { return m_mail; }
    void setMail(const MailSettings& mail) { m_mail = mail; }

    // Parses sites.ini text (UTF-8, a byte-order mark allowed). Malformed
    // lines and unknown roles are reported in `problems` (one readable line
    // each, naming the line number, and its text only where that cannot
    // hold a password) and skipped; the rest loads.
    // The [sites] and [mail] sections are read (section names in any ASCII
    // case); a key above every section header is reported (most likely a
    // forgotten header), other sections are ignored.
    static SiteConfig parse(const QByteArray& utf8, QStringList* problems);
    // Loads a sites.ini file; false when the file does not exist or cannot
    // be read (the latter also reported in `problems`).
    static bool loadFile(const QString& path, SiteConfig* out, QStringList* problems);

private:
    // Takes one [mail] key (spelled as the program does); returns why the
    // value cannot be used, empty when it was taken.
    QString setMailValue(const QString& key, const QString& value);

    QMap<QString, QString> m_bases;
    int m_timeoutSeconds = 30;
    MailSettings m_mail;
};

} // namespace lumorra
