#pragma once
// The player control QvodCtrl1 on tab 3 of SSTab3: a video surface over the
// media engine with exactly the operations the program uses – set the
// address, play, pause, stop, read the state – and the state numbers 0 … 11
// of the status label.
//
// It plays what the engine plays: http(s) addresses and local files (WebM,
// MP3, H.264 …). An address it cannot play (a qvod:// link, a dead host)
// ends in the state "stopped" and reports why through playbackFailed();
// nothing the engine does ends the program.
#include <QString>
#include <QUrl>
#include <QWidget>

#include <functional>

class QAudioOutput;
class QMediaPlayer;
class QVideoWidget;

namespace lumorra {

class PlayerControl : public QWidget {
    Q_OBJECT
public:
    enum State {
        Ready = 0,          // 准备就绪..
        Stopped = 1,        // 已停止播放
        Paused = 2,         // 已暂停播放
        Playing = 3,        // 正在播放中..
        Buffering = 4,      // 缓冲中..
        Waiting = 5,        // 等待中..
        Ended = 6,          // 播放结束..
        Loading = 7,        // 准备读..
        Reconnecting = 8,   // 重连中..
        Downloading = 9,    // BT种子下载中..
        Connecting = 10,    // 正在连接中..
        Stopping = 11,      // 正在停止..
    };

    explicit PlayerControl(QWidget* parent = nullptr);
    ~PlayerControl() override;

    // The five operations.
    void setAddress(const QString& address);
    QString address() const { return m_address; }
    void play();
    void pause();
    void stop();
    int state() const;

    // Whether the media engine can play on this machine. Tests replace the
    // check with setPresenceCheck(); a null function restores it.
    bool isEnginePresent() const;
    static void setPresenceCheck(std::function<bool()> check);

    // What an address becomes for the engine: web and file URLs as they
    // are, a local path as a file URL, anything else as its own URL (which
    // the engine then refuses).
    static QUrl mediaUrl(const QString& address);

signals:
    void stateChanged(int state);
    // The engine could not play the address; `reason` is a short Chinese text.
    void playbackFailed(const QString& reason);

private:
    void buildEngine();
    void replaceEngine();
    void reportState();

    QMediaPlayer* m_player = nullptr;
    QAudioOutput* m_audio = nullptr;
    QVideoWidget* m_video = nullptr;
    QString m_address;
    bool m_remote = false;          // the address is fetched over the network
    bool m_stoppedByUser = false;
    bool m_failed = false;
    int m_lastReported = -1;
};

} // namespace lumorra
