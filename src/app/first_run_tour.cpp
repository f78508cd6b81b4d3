#include "app/first_run_tour.h"

#include "app/version_gate.h"
#include "lists/result_list.h"
#include "pages/clouddisk/cloud_disk_search.h"
#include "pages/emule/emule_handlers.h"
#include "pages/film/film_listings.h"
#include "pages/page_widgets.h"
#include "pages/torrent/bt_sources.h"
#include "pages/torrent/film_resource_detail.h"
#include "pages/torrent/magnet_search.h"
#include "pages/torrent/torrent_search.h"
#include "pages/video/qvod_film_source.h"
#include "pages/video/qvod_search_source.h"
#include "pages/video/torrent_tag_source.h"

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

template <typename Sender, typename Signal, typename Slot>
QMetaObject::Connection when(Sender* sender, Signal signal, QObject* context, Slot slot)
{
    return sender ? QObject::connect(sender, signal, context, slot) : QMetaObject::Connection();
}

QString array(const char* name, int index)
{
    return pageui::arrayName(QLatin1String(name), index);
}

void type(QWidget* form1, const char* box, const QString& text)
{
    if (auto* edit = form1->findChild<QLineEdit*>(QLatin1String(box)))
        edit->setText(text);
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

AwaitEnd torrentSearch(int index)
{
    return [index](QWidget* f, QObject* ctx, Done done) {
        return when(f->findChild<TorrentSearches*>(), &TorrentSearches::searchEnded, ctx, [index, done](int i) {
            if (i == index)
                done();
        });
    };
}

AwaitEnd emuleListing(EmuleCategory category)
{
    return [category](QWidget* f, QObject* ctx, Done done) {
        return when(EmuleSources::of(f), &EmuleSources::listingLoaded, ctx, [category, done](int c) {
            if (c == int(category))
                done();
        });
    };
}

AwaitEnd emuleSearch(int search)
{
    return [search](QWidget* f, QObject* ctx, Done done) {
        return when(EmuleSources::of(f), &EmuleSources::searchEnded, ctx, [search, done](int s) {
            if (s == search)
                done();
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

    step("01-clouddisk", "ListView1", "Command1",
         [](QWidget* f, QObject* ctx, Done done) {
             return when(f->findChild<CloudDiskSearch*>(), &CloudDiskSearch::searchEnded, ctx, done);
         },
         [](QWidget* f) {
             type(f, "Text1", QStringLiteral("电影"));
             for (int box : {0, 1, 2, 5, 7, 18})
                 if (auto* b = f->findChild<QCheckBox*>(array("Check2", box)))
                     b->setChecked(true);
         });
    step("02-torrent-index", "ListView2", "Command2(0)", torrentSearch(0),
         [](QWidget* f) { type(f, "Text2", QStringLiteral("ubuntu")); });
    step("03-torrent-rss", "ListView4", "Command2(1)", torrentSearch(1),
         [](QWidget* f) { type(f, "Text8", QStringLiteral("电影")); });
    step("04-emule-films", "ListView6", "Command21(0)", emuleListing(EmuleCategory::Films));
    step("05-magnet-search", "ListView19", "Command21(3)",
         [](QWidget* f, QObject* ctx, Done done) {
             return when(f->findChild<MagnetSearch*>(), &MagnetSearch::searchEnded, ctx, done);
         },
         [](QWidget* f) {
             type(f, "Text21", QStringLiteral("ubuntu"));
             if (auto* combo = f->findChild<QComboBox*>(QStringLiteral("Combo1")))
                 combo->setCurrentIndex(1);
         });
    auto film = step("06-film-resource", "ListView13", "Command2(2)", torrentSearch(2),
                     [](QWidget* f) { type(f, "Text13", QStringLiteral("星际")); });
    // The first film's Qvod links, as a double click lists them in List2.
    film->followUp = [](QWidget* f) {
        if (auto* detail = f->findChild<FilmResourceDetail*>())
            detail->ListView13_DblClick();
    };
    film->awaitFollowUp = [](QWidget* f, QObject* ctx, Done done) {
        return when(f->findChild<FilmResourceDetail*>(), &FilmResourceDetail::resolved, ctx,
                    [done](bool) { done(); });
    };
    step("07-film-listing", "ListView5", "Command14(0)", [](QWidget* f, QObject* ctx, Done done) {
        return when(FilmListings::of(f), &FilmListings::listingLoaded, ctx, [done](int) { done(); });
    });
    step("08-bt-films", "ListView16", "Commandz3(0)", [](QWidget* f, QObject* ctx, Done done) {
        return when(BtSources::of(f), &BtSources::filmsEnded, ctx, done);
    });
    step("09-bt-board", "ListView18", "Command3(0)", [](QWidget* f, QObject* ctx, Done done) {
        return when(BtSources::of(f), &BtSources::boardEnded, ctx, done);
    });
    step("10-emule-music", "ListView7", "Command26(0)", emuleListing(EmuleCategory::Music));
    step("11-emule-cartoons", "ListView12", "Command41(0)", emuleListing(EmuleCategory::Cartoons));
    step("12-emule-software", "ListView8", "Command27(0)", emuleListing(EmuleCategory::Software));
    step("13-emule-books", "ListView9", "Command27(3)", emuleListing(EmuleCategory::Books));
    step("14-emule-education", "ListView10", "Command27(6)", emuleListing(EmuleCategory::Education));
    step("15-emule-data", "ListView11", "Command27(9)", emuleListing(EmuleCategory::Data));
    step("16-emule-index-search", "ListView15", "Command27(12)", emuleSearch(EmuleSources::kIndexSearch),
         [](QWidget* f) { type(f, "Text16", QStringLiteral("电影")); });
    step("17-emule-site-search", "ListView17", "Command27(13)", emuleSearch(EmuleSources::kSiteSearch),
         [](QWidget* f) { type(f, "Text19", QStringLiteral("音乐")); });

    // The online-video page wants the usage agreement read and accepted
    // first; a new user ticks it there.
    auto qvodFilms = step("18-qvod-films", "ListView3", "Command53(3)",
                          [](QWidget* f, QObject* ctx, Done done) {
                              return when(f->findChild<QvodFilmSource*>(), &QvodFilmSource::listingLoaded, ctx, done);
                          },
                          [](QWidget* f) {
                              if (auto* box = f->findChild<QCheckBox*>(QStringLiteral("Check1")))
                                  box->setChecked(true);
                          });
    // The first film's play addresses, as a double click fills them in.
    qvodFilms->followUp = [](QWidget* f) {
        if (auto* source = f->findChild<QvodFilmSource*>())
            source->ListView3_DblClick();
    };
    qvodFilms->awaitFollowUp = [](QWidget* f, QObject* ctx, Done done) {
        return when(f->findChild<QvodFilmSource*>(), &QvodFilmSource::detailResolved, ctx, done);
    };
    auto qvodSearch = step("19-qvod-search", "ListView14", "Command53(10)",
                           [](QWidget* f, QObject* ctx, Done done) {
                               return when(f->findChild<QvodSearchSource*>(), &QvodSearchSource::searchEnded, ctx, done);
                           },
                           [](QWidget* f) { type(f, "Text15", QStringLiteral("星际")); });
    qvodSearch->followUp = [](QWidget* f) {
        if (auto* source = f->findChild<QvodSearchSource*>())
            source->ListView14_DblClick();
    };
    qvodSearch->awaitFollowUp = [](QWidget* f, QObject* ctx, Done done) {
        return when(f->findChild<QvodSearchSource*>(), &QvodSearchSource::detailResolved, ctx, done);
    };
    auto tags = step("20-torrent-tag", "ListView20", "Command53(15)",
                     [](QWidget* f, QObject* ctx, Done done) {
                         return when(f->findChild<TorrentTagSource*>(), &TorrentTagSource::searchEnded, ctx, done);
                     },
                     [](QWidget* f) { type(f, "Text22", QStringLiteral("ubuntu")); });
    tags->followUp = [](QWidget* f) {
        if (auto* source = f->findChild<TorrentTagSource*>())
            source->ListView20_DblClick();
    };
    tags->awaitFollowUp = [](QWidget* f, QObject* ctx, Done done) {
        return when(f->findChild<TorrentTagSource*>(), &TorrentTagSource::detailResolved, ctx, done);
    };
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
