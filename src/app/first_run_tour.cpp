#include "app/first_run_tour.h"

#include "app/version_gate.h"
#include "lists/result_list.h"
#include "pages/page_widgets.h"
#include "pages/torrent/film_resource_detail.h"
#include "pages/video/qvod_film_source.h"
#include "pages/video/qvod_search_source.h"
#include "pages/video/torrent_tag_source.h"
#include "sources/engine/source_events.h"
#include "sources/source_table.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QEvent>
#include <QFileInfo>
#include <QLineEdit>
#include <QPixmap>
#include <QStackedWidget>
#include <QTabWidget>
#include <QTimer>
#include <QWidget>

#include <cstdio>

namespace lumorra {

namespace {

using Done = std::function<void()>;
// Connects the end of a step's work to `done`; an invalid connection when
// the controller is not there (the watchdog then ends the step).
using AwaitEnd = std::function<QMetaObject::Connection(QWidget* form1, QObject* context, Done done)>;

QString array(const char* name, int index)
{
    return pageui::arrayName(QLatin1String(name), index);
}

// Makes `w` visible by bringing forward the page of every tab control it
// sits in, outermost last so the page on show is the one that holds it.
void bringForward(QWidget* w)
{
    for (QWidget* page = w; page; page = page->parentWidget()) {
        auto* stack = qobject_cast<QStackedWidget*>(page->parentWidget());
        auto* tabs = stack ? qobject_cast<QTabWidget*>(stack->parentWidget()) : nullptr;
        if (tabs)
            tabs->setCurrentWidget(page);
    }
}

// The end of the next run of the table's source `verb id`, whichever page
// runs it. Told a moment later, once the page has shown the run's rows.
AwaitEnd sourceEnd(SourceVerb verb, const char* id)
{
    const SourceEntry* source = findSourceEntry(verb, QLatin1String(id));
    return [source](QWidget*, QObject* ctx, Done done) {
        return QObject::connect(
            &SourceEvents::instance(), &SourceEvents::ended, ctx,
            [source, done, ctx](const SourceEntry* ended, const SourceOutcome& outcome) {
                if (ended == source && outcome.kind != SourceOutcome::Kind::Superseded)
                    QTimer::singleShot(0, ctx, done);
            });
    };
}

} // namespace

struct FirstRunTour::Step {
    QString picture;                       // file name without ".png"
    QString list;                          // the list filled, shown and selected in
    QString show;                          // without a list: the control brought forward
    std::function<void(QWidget*)> fill;    // the keyword typed, boxes ticked
    QString button;                        // clicked to start the work
    AwaitEnd awaitEnd;
    // Once the list is filled and its row selected: a row action (a detail
    // page resolved), started by `followUp`, its end told by `awaitFollowUp`.
    std::function<void(QWidget*)> followUp;
    AwaitEnd awaitFollowUp;
    bool followedUp = false;
};

FirstRunTour::FirstRunTour(QWidget* form1, QString pictureDir, QObject* parent)
    : QObject(parent), m_form1(form1), m_dir(std::move(pictureDir))
{
    m_watchdog = new QTimer(this);
    m_watchdog->setSingleShot(true);
    connect(m_watchdog, &QTimer::timeout, this, [this] { stepEnded(m_current, false); });

    auto step = [this](const char* picture, const char* list, const char* button, AwaitEnd awaitEnd,
                       std::function<void(QWidget*)> fill = {}) {
        auto s = std::make_shared<Step>();
        s->picture = QString::fromLatin1(picture);
        s->list = QString::fromLatin1(list);
        s->button = QString::fromLatin1(button);
        s->awaitEnd = std::move(awaitEnd);
        s->fill = std::move(fill);
        m_steps << s;
        return s;
    };

    // Each picture is one source of the table: its list, its button and its
    // keyword box are the table's; the tour only says what a new user types.
    auto source = [&](const char* picture, SourceVerb verb, const char* id, const QString& keyword = QString(),
                      std::function<void(QWidget*)> more = {}) {
        const SourceEntry* entry = findSourceEntry(verb, QLatin1String(id));
        const QString box = entry ? entry->keywordBox : QString();
        auto s = step(picture, "", "", sourceEnd(verb, id), [box, keyword, more](QWidget* f) {
            if (!box.isEmpty() && !keyword.isEmpty())
                if (auto* edit = f->findChild<QLineEdit*>(box))
                    edit->setText(keyword);
            if (more)
                more(f);
        });
        if (entry) {
            s->list = entry->listName;
            s->button = entry->startControl;
        }
        return s;
    };
    // A row action on the first row once the list is filled: `resolve` the
    // detail page as a double click does, ended by the resolver `id`.
    auto followUp = [](const std::shared_ptr<Step>& s, std::function<void(QWidget*)> resolve, const char* id) {
        s->followUp = std::move(resolve);
        s->awaitFollowUp = sourceEnd(SourceVerb::Resolve, id);
    };
    using V = SourceVerb;

    source("01-clouddisk", V::Search, "clouddisk", QStringLiteral("电影"), [](QWidget* f) {
        for (int box : {0, 1, 2, 5, 7, 18})
            if (auto* b = f->findChild<QCheckBox*>(array("Check2", box)))
                b->setChecked(true);
    });
    source("02-torrent-index", V::Search, "torrent", QStringLiteral("ubuntu"));
    source("03-torrent-rss", V::Search, "rss", QStringLiteral("电影"));
    source("04-emule-films", V::List, "emule-films");
    source("05-magnet-search", V::Search, "magnet-b", QStringLiteral("ubuntu"), [](QWidget* f) {
        if (auto* combo = f->findChild<QComboBox*>(QStringLiteral("Combo1")))
            combo->setCurrentIndex(1);
    });
    followUp(source("06-film-resource", V::Search, "film", QStringLiteral("星际")), [](QWidget* f) {
        if (auto* detail = f->findChild<FilmResourceDetail*>())
            detail->ListView13_DblClick();
    }, "qvod");
    source("07-film-listing", V::List, "films-latest");
    source("08-bt-films", V::List, "bt-films");
    source("09-bt-board", V::List, "bt-board");
    source("10-emule-music", V::List, "emule-music");
    source("11-emule-cartoons", V::List, "emule-cartoons");
    source("12-emule-software", V::List, "emule-software");
    source("13-emule-books", V::List, "emule-books");
    source("14-emule-education", V::List, "emule-education");
    source("15-emule-data", V::List, "emule-data");
    source("16-emule-index-search", V::Search, "emule", QStringLiteral("电影"));
    source("17-emule-site-search", V::Search, "emule-search", QStringLiteral("音乐"));

    // The online-video page wants the usage agreement read and accepted
    // first; a new user ticks it there.
    followUp(source("18-qvod-films", V::List, "qvod-channel", QString(), [](QWidget* f) {
        if (auto* box = f->findChild<QCheckBox*>(QStringLiteral("Check1")))
            box->setChecked(true);
    }), [](QWidget* f) {
        if (auto* page = f->findChild<QvodFilmSource*>())
            page->ListView3_DblClick();
    }, "qvod");
    followUp(source("19-qvod-search", V::Search, "qvod", QStringLiteral("星际")), [](QWidget* f) {
        if (auto* page = f->findChild<QvodSearchSource*>())
            page->ListView14_DblClick();
    }, "qvod");
    followUp(source("20-torrent-tag", V::Search, "tag", QStringLiteral("ubuntu")), [](QWidget* f) {
        if (auto* page = f->findChild<TorrentTagSource*>())
            page->ListView20_DblClick();
    }, "tag");
    auto about = step("21-about", "", "", {});
    about->show = QStringLiteral("Label21");
}

FirstRunTour::~FirstRunTour() = default;

void FirstRunTour::start()
{
    if (!m_form1)
        return;
    auto* pages = m_form1->findChild<QTabWidget*>(QStringLiteral("SSTab1"));
    if (pages && pages->isEnabled()) {
        QTimer::singleShot(0, this, &FirstRunTour::begin);
        return;
    }
    if (auto* gate = m_form1->findChild<VersionGate*>())
        connect(gate, &VersionGate::unlocked, this, &FirstRunTour::begin, Qt::QueuedConnection);
}

void FirstRunTour::begin()
{
    if (m_started || !m_form1)
        return;
    m_started = true;
    QDir().mkpath(m_dir);
    runStep(0);
}

void FirstRunTour::runStep(int index)
{
    if (!m_form1)
        return;
    if (index >= m_steps.size()) {
        // The window is left on its first page, as a user finds it.
        if (auto* pages = m_form1->findChild<QTabWidget*>(QStringLiteral("SSTab1")))
            pages->setCurrentIndex(0);
        emit finished(m_allGood);
        return;
    }
    m_current = index;
    Step& s = *m_steps[index];
    const QString shown = s.list.isEmpty() ? s.show : s.list;
    if (auto* w = m_form1->findChild<QWidget*>(shown))
        bringForward(w);
    if (s.fill)
        s.fill(m_form1);
    if (!s.awaitEnd) {
        QTimer::singleShot(0, this, [this, index] { stepEnded(index, true); });
        return;
    }
    m_waiting = s.awaitEnd(m_form1, this, [this, index] { stepEnded(index, true); });
    m_watchdog->start(m_stepTimeoutMs);
    if (auto* button = m_form1->findChild<QAbstractButton*>(s.button))
        button->click();
}

void FirstRunTour::stepEnded(int index, bool byItself)
{
    if (index != m_current || index < 0 || !m_form1)
        return;
    QObject::disconnect(m_waiting);
    m_watchdog->stop();
    Step& s = *m_steps[index];
    if (!byItself) {
        m_allGood = false;
        std::fprintf(stderr, "lumorra: %s did not end within %d ms; pictured as it stands\n",
                     qPrintable(s.picture), m_stepTimeoutMs);
    }
    if (auto* list = m_form1->findChild<ResultList*>(s.list)) {
        if (list->rowCount() > 0) {
            list->setCurrentItem(list->topLevelItem(0));
            list->scrollToTop();
            list->setFocus();
        }
    }
    if (byItself && s.followUp && !s.followedUp) {
        s.followedUp = true;
        m_waiting = s.awaitFollowUp(m_form1, this, [this, index] { stepEnded(index, true); });
        m_watchdog->start(m_stepTimeoutMs);
        s.followUp(m_form1);
        return;
    }
    picture(index);
    m_current = -1;
    QTimer::singleShot(0, this, [this, index] { runStep(index + 1); });
}

void FirstRunTour::picture(int index)
{
    QWidget* window = m_form1->window();
    // The page just brought forward lays itself out before it is drawn.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
    const QString path = QDir(m_dir).absoluteFilePath(m_steps[index]->picture + QStringLiteral(".png"));
    if (!window->grab().save(path, "PNG")) {
        m_allGood = false;
        std::fprintf(stderr, "lumorra: cannot write the picture %s\n", qPrintable(path));
        return;
    }
    m_saved << path;
    std::printf("lumorra: picture saved to %s\n", path.toLocal8Bit().constData());
    std::fflush(stdout);
}

} // namespace lumorra
