#pragma once
// The start-up sounds (W1, W2): plays one audio file through Qt Multimedia.
// A missing file or a machine without an audio output plays nothing and
// reports nothing; the media engine is only loaded when there is something
// to play.
#include <QObject>
#include <QString>

class QMediaPlayer;
class QAudioOutput;

namespace lumorra {

class SoundPlayer : public QObject {
    Q_OBJECT
public:
    explicit SoundPlayer(const QString& name, QObject* parent = nullptr);

    // 0 … 100.
    void setVolume(int volume);
    int volume() const { return m_volume; }

    // Starts playing `path` from its beginning. Returns false, doing
    // nothing, when the file does not exist or no audio output is present.
    bool play(const QString& path);
    void stop();

    QString lastRequest() const { return m_lastRequest; }
    bool isPlaying() const;

private:
    int m_volume = 100;
    QString m_lastRequest;
    QMediaPlayer* m_player = nullptr;
    QAudioOutput* m_output = nullptr;
};

} // namespace lumorra
