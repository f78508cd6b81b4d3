#pragma once
// The first run that shows the program doing its job (the headless run of
// scripts/run.sh): once the version check has unlocked the pages, it
// searches or lists once on every page with a list – the cloud disk with a
// few services, the torrent, magnet and film searches, every eMule, BT and
// film listing – and saves a picture of the window for each filled list,
// with the list's page in front, its status line and its first row
// selected. Keywords are those the bundled sample sites answer.
//
// Nothing waits: each step clicks the page's own button and goes on when
// the source's controller signals the end (or a watchdog gives up on it).
#include <QObject>
#include <QPointer>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>

class QTimer;
class QWidget;

namespace lumorra {

class FirstRunTour : public QObject {
    Q_OBJECT
public:
    // Pictures go to `pictureDir` as "NN-name.png".
    FirstRunTour(QWidget* form1, QString pictureDir, QObject* parent = nullptr);
    ~FirstRunTour() override;

    // Starts when the version check unlocks the pages (at once when it has).
    void start();

    QStringList savedPictures() const { return m_saved; }

signals:
    // Every step has run; `allSaved` when every picture was written and
    // every step ended by itself.
    void finished(bool allSaved);

private:
    struct Step;
    void begin();
    void runStep(int index);
    void stepEnded(int index, bool byItself);
    void picture(int index);

    QPointer<QWidget> m_form1;
    QString m_dir;
    QList<std::shared_ptr<Step>> m_steps;
    int m_current = -1;
    bool m_started = false;
    bool m_allGood = true;
    int m_stepTimeoutMs = 30000;   // a step not ended by then is pictured as it stands
    QTimer* m_watchdog = nullptr;
    QMetaObject::Connection m_waiting;
    QStringList m_saved;
};

} // namespace lumorra
