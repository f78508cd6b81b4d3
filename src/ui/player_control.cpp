#include "ui/player_control.h"

#include <QAudioOutput>
#include <QFileInfo>
#include <QMediaPlayer>
#include <QVBoxLayout>
#include <QVideoWidget>

namespace lumorra {

namespace {

std::function<bool()>& presenceOverride()
{
    static std::function<bool()> check;
    return check;
}

QString reasonOf(QMediaPlayer::Error error)
{
    switch (error) {
    case QMediaPlayer::ResourceError: return QStringLiteral("无法打开该地址");
    case QMediaPlayer::FormatError: return QStringLiteral("不支持的文件格式");
    case QMediaPlayer::NetworkError: return QStringLiteral("网络连接失败");
    case QMediaPlayer::AccessDeniedError: return QStringLiteral("没有访问权限");
    default: return QStringLiteral("播放出错");
    }
}

} // namespace

PlayerControl::PlayerControl(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("QvodCtrl1"));
    setMinimumSize(320, 180);
    setAutoFillBackground(true);
    QPalette dark = palette();
    dark.setColor(QPalette::Window, Qt::black);
    setPalette(dark);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    buildEngine();
}

void PlayerControl::buildEngine()
{
    m_video = new QVideoWidget(this);
    layout()->addWidget(m_video);
    m_player = new QMediaPlayer(this);
    // Without a sound device the engine plays on silently.
    m_audio = new QAudioOutput(m_player);
    m_player->setAudioOutput(m_audio);
    m_player->setVideoOutput(m_video);

    connect(m_player, &QMediaPlayer::playbackStateChanged, this, &PlayerControl::reportState);
    connect(m_player, &QMediaPlayer::mediaStatusChanged, this, &PlayerControl::reportState);
    connect(m_player, &QMediaPlayer::errorOccurred, this, [this](QMediaPlayer::Error error, const QString&) {
        // The engine may report one failure more than once: it is told once.
        if (error == QMediaPlayer::NoError || m_failed)
            return;
        m_failed = true;
        reportState();
        emit playbackFailed(reasonOf(error));
    });
}

void PlayerControl::replaceEngine()
{
    // After an error the engine's pipeline may still hold the failed stream
    // and spoil the next one: the next address gets a fresh engine.
    QMediaPlayer* old = m_player;
    QVideoWidget* oldVideo = m_video;
    old->disconnect(this);
    old->stop();
    old->setVideoOutput(static_cast<QObject*>(nullptr));
    old->deleteLater();
    layout()->removeWidget(oldVideo);
    oldVideo->deleteLater();
    buildEngine();
    m_failed = false;
}

PlayerControl::~PlayerControl()
{
    // The engine is told to let go before its outputs go.
    m_player->stop();
}

QUrl PlayerControl::mediaUrl(const QString& address)
{
    const QString a = address.trimmed();
    if (a.isEmpty())
        return {};
    const QUrl url(a);
    if (!url.scheme().isEmpty() && url.scheme().size() > 1)
        return url;
    // A path (a one-letter "scheme" is a drive letter, not a scheme).
    return QUrl::fromLocalFile(QFileInfo(a).absoluteFilePath());
}

void PlayerControl::setAddress(const QString& address)
{
    if (m_failed)
        replaceEngine();
    m_address = address;
    m_stoppedByUser = false;
    const QUrl url = mediaUrl(address);
    m_remote = !url.isEmpty() && !url.isLocalFile();
    m_player->setSource(url);
    reportState();
}

void PlayerControl::play()
{
    m_stoppedByUser = false;
    if (m_player->source().isEmpty())
        return;
    if (m_failed) {
        // Another try: a fresh engine starts the address afresh.
        const QUrl url = m_player->source();
        replaceEngine();
        m_player->setSource(url);
    }
    m_player->play();
    reportState();
}

void PlayerControl::pause()
{
    m_player->pause();
    reportState();
}

void PlayerControl::stop()
{
    m_stoppedByUser = true;
    m_player->stop();
    reportState();
}

int PlayerControl::state() const
{
    if (m_failed)
        return Stopped;
    const QMediaPlayer::MediaStatus media = m_player->mediaStatus();
    const int loading = m_remote ? Connecting : Loading;
    switch (m_player->playbackState()) {
    case QMediaPlayer::PausedState:
        return Paused;
    case QMediaPlayer::PlayingState:
        switch (media) {
        case QMediaPlayer::LoadingMedia: return loading;
        case QMediaPlayer::StalledMedia: return Waiting;
        case QMediaPlayer::BufferingMedia: return Buffering;
        case QMediaPlayer::EndOfMedia: return Ended;
        case QMediaPlayer::InvalidMedia: return Stopped;
        default: return Playing;
        }
    case QMediaPlayer::StoppedState:
        break;
    }
    if (media == QMediaPlayer::EndOfMedia)
        return Ended;
    if (m_stoppedByUser || media == QMediaPlayer::InvalidMedia)
        return Stopped;
    if (media == QMediaPlayer::LoadingMedia)
        return loading;
    return Ready;
}

bool PlayerControl::isEnginePresent() const
{
    if (const auto& check = presenceOverride())
        return check();
    return m_player->isAvailable();
}

void PlayerControl::setPresenceCheck(std::function<bool()> check)
{
    presenceOverride() = std::move(check);
}

void PlayerControl::reportState()
{
    const int now = state();
    if (now == m_lastReported)
        return;
    m_lastReported = now;
    emit stateChanged(now);
}

} // namespace lumorra
