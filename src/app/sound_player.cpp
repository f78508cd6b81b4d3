#include "app/sound_player.h"

#include <QAudioDevice>
#include <QAudioOutput>
#include <QFileInfo>
#include <QMediaDevices>
#include <QMediaPlayer>
#include <QUrl>

namespace lumorra {

SoundPlayer::SoundPlayer(const QString& name, QObject* parent)
    : QObject(parent)
{
    setObjectName(name);
}

void SoundPlayer::setVolume(int volume)
{
    m_volume = qBound(0, volume, 100);
    if (m_output)
        m_output->setVolume(float(m_volume) / 100.0f);
}

bool SoundPlayer::play(const QString& path)
{
    m_lastRequest = path;
    const QFileInfo file(path);
    if (!file.isFile() || !file.isReadable())
        return false;
    if (QMediaDevices::audioOutputs().isEmpty())
        return false;
    if (!m_player) {
        m_player = new QMediaPlayer(this);
        m_output = new QAudioOutput(this);
        m_player->setAudioOutput(m_output);
    }
    m_output->setVolume(float(m_volume) / 100.0f);
    m_player->setSource(QUrl::fromLocalFile(file.absoluteFilePath()));
    m_player->play();
    return true;
}

void SoundPlayer::stop()
{
    if (m_player)
        m_player->stop();
}

bool SoundPlayer::isPlaying() const
{
    return m_player && m_player->playbackState() == QMediaPlayer::PlayingState;
}

} // namespace lumorra
