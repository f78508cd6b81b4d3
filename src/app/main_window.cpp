#include "app/main_window.h"

#include "core/announcements.h"
#include "ui/click_label.h"
#include "app/exit_flow.h"
#include "ui/message_box.h"
#include "app/painted_icons.h"
#include "core/settings_store.h"
#include "core/usage_agreement.h"
#include "app/settings_window.h"
#include "ui/silent_web_page.h"
#include "app/skins.h"
#include "app/sound_player.h"
#include "core/vendor_pages.h"
#include "app/version_gate.h"
#include "lists/row_actions.h"
#include "lists/status_line.h"
#include "net/page_fetcher.h"
#include "platform/open_address.h"
#include "platform/processes.h"
#include "core/program_dir.h"
#include "pages/install_sources.h"
#include "sources/source_table.h"
#include "player/install_player.h"
#include "pages/page_widgets.h"
#include "app/pages.h"
#include "app/search_all_entry.h"
#include "sources/everywhere/source_history.h"
#include "ui/navigation_bar.h"

#include <QAbstractItemView>
#include <QCheckBox>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QDateTime>
#include <QFileInfo>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLocale>
#include <QLoggingCategory>
#include <QMessageBox>
#include <QPainter>
#include <QPushButton>
#include <QStatusBar>
#include <QTabBar>
#include <QTabWidget>
#include <QTimer>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <QWebEngineView>

#include <exception>

namespace lumorra {

namespace {

using namespace settingkey;
using pageui::arrayName;

Q_LOGGING_CATEGORY(lcStartUp, "lumorra.app")

// Runs one start-up step; whatever goes wrong inside it, the next step runs,
// and the failure is logged rather than lost.
template <typename Step>
void runStep(Step&& step)
{
    try {
        step();
    } catch (const std::exception& e) {
        qCWarning(lcStartUp) << "start-up step failed:" << e.what();
    } catch (...) {
        qCWarning(lcStartUp) << "start-up step failed with an unknown exception";
    }
}

} // namespace

// ---------------------------------------------------------------------------

MainWindow::MainWindow(QWidget* parent)
    : QMainWindow(parent)
{
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QStringLiteral("Lumorra 2014【正式版】 - 搜你所想"));
    // Made before any page exists, so it sees every source's run.
    SourceHistory::instance();

    auto* central = new QWidget(this);
    central->setObjectName(QStringLiteral("Form1Client"));
    central->setMouseTracking(true);
    central->installEventFilter(this);
    setCentralWidget(central);

    auto* outer = new QVBoxLayout(central);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->setSpacing(0);

    buildNavigationBar();
    outer->addWidget(m_navigationBar);

    auto* body = new QWidget(central);
    body->setObjectName(QStringLiteral("Form1Body"));
    auto* bodyLayout = new QVBoxLayout(body);
    bodyLayout->setContentsMargins(8, 8, 8, 6);
    bodyLayout->setSpacing(6);
    buildPages();
    bodyLayout->addWidget(m_pages, 1);
    buildBottomRow(body);
    outer->addWidget(body, 1);

    buildStatusBar();
    buildTimers();
    m_versionGate = new VersionGate(timer(QStringLiteral("Timer9")), timer(QStringLiteral("Timer12")),
                                    m_announcementLine, this);
    connect(m_versionGate, &VersionGate::unlocked, this, [this] { setGateControlsEnabled(true); });
    connect(m_versionGate, &VersionGate::endRequested, this, &MainWindow::endFromWindow);
    connect(m_announcementLine, &ClickLabel::clicked, m_versionGate, &VersionGate::Label17_Click);

    m_startupSound = new SoundPlayer(QStringLiteral("W1"), this);

    findPageControls();
    wirePageControls();

    resize(1080, 740);
    setMinimumSize(960, 640);

    Form_Load();
}

MainWindow::~MainWindow() = default;

void MainWindow::buildNavigationBar()
{
    QStringList captions;
    for (int i = 0; i < kPageCount; ++i)
        captions << mainPageCaption(i);
    m_navigationBar = new NavigationBar(captions, &navigationIcon, makerLogo(devicePixelRatioF()), this);
    m_navigationBar->installEventFilter(this);
    m_navigationBar->logo()->setToolTip(QStringLiteral("访问Tessaly官方网站"));
    connect(m_navigationBar, &NavigationBar::pointerOverSlot, this, &MainWindow::aicAlphaImage2_MouseMove);
    connect(m_navigationBar, &NavigationBar::highlightClicked, this, &MainWindow::aicAlphaImage3_Click);
    connect(m_navigationBar, &NavigationBar::highlightReleasedOutside, this, &MainWindow::aicAlphaImage3_MouseUp);
    connect(m_navigationBar, &NavigationBar::highlightLeft, this, &MainWindow::hideHoverHighlight);
    connect(m_navigationBar->logo(), &ClickLabel::clicked, this, &MainWindow::Image1_Click);
}

void MainWindow::buildPages()
{
    m_pages = new QTabWidget(this);
    m_pages->setObjectName(QStringLiteral("SSTab1"));
    // The navigation bar switches the pages; the tab strip is not shown.
    m_pages->tabBar()->hide();
    m_pages->setDocumentMode(false);
    for (int i = 0; i < kPageCount; ++i) {
        QWidget* page = nullptr;
        runStep([&] { page = createMainPage(i, m_pages); });
        if (!page)
            page = new QWidget(m_pages);
        m_pages->addTab(page, mainPageCaption(i));
    }
    m_pages->setMouseTracking(true);
    m_pages->installEventFilter(this);
}

void MainWindow::buildBottomRow(QWidget* body)
{
    auto* row = new QHBoxLayout;
    row->setSpacing(10);

    m_announcementFrame = new QGroupBox(QStringLiteral("软件新闻公告"), body);
    m_announcementFrame->setObjectName(QStringLiteral("Frame1(3)"));
    auto* frameLayout = new QHBoxLayout(m_announcementFrame);
    frameLayout->setContentsMargins(10, 2, 10, 4);
    m_announcementLine = new ClickLabel(QStringLiteral("公告加载中"), m_announcementFrame);
    m_announcementLine->setObjectName(QStringLiteral("Label17"));
    m_announcementLine->setCursor(Qt::PointingHandCursor);
    m_announcementLine->setMinimumWidth(200);
    m_announcementLine->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    m_announcementLine->setTextFormat(Qt::PlainText);
    frameLayout->addWidget(m_announcementLine, 1);
    row->addWidget(m_announcementFrame, 1);

    m_legalNotice = new QLabel(QStringLiteral("提示：获取到的资源均来自网络，请勿将本程序用于非法用途"), body);
    m_legalNotice->setObjectName(QStringLiteral("Label6"));
    m_legalNotice->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    m_legalNotice->setWordWrap(false);
    row->addWidget(m_legalNotice, 0, Qt::AlignBottom);

    m_settingsButton = new QPushButton(QStringLiteral("软件设置"), body);
    m_settingsButton->setObjectName(QStringLiteral("Command45"));
    m_settingsButton->setMinimumSize(96, 30);
    connect(m_settingsButton, &QPushButton::clicked, this, &MainWindow::Command45_Click);
    row->addWidget(m_settingsButton, 0, Qt::AlignBottom);

    m_freeMemoryButton = new QPushButton(QStringLiteral("释放内存"), body);
    m_freeMemoryButton->setObjectName(QStringLiteral("Command6"));
    m_freeMemoryButton->setMinimumSize(96, 30);
    connect(m_freeMemoryButton, &QPushButton::clicked, this, &MainWindow::Command6_Click);
    row->addWidget(m_freeMemoryButton, 0, Qt::AlignBottom);

    qobject_cast<QVBoxLayout*>(body->layout())->addLayout(row);
}

void MainWindow::buildStatusBar()
{
    m_statusBar = new QStatusBar(this);
    m_statusBar->setObjectName(QStringLiteral("S1"));
    setStatusBar(m_statusBar);
    const QString texts[6] = {
        QStringLiteral("运行提示："),
        QStringLiteral("正在检测程序最新版本.."),
        QStringLiteral("Brenn系列软件交流群：218759640"),
        mainPageCaption(0),
        QStringLiteral("当前版本：检测中.."),
        QStringLiteral("Tessaly出品"),
    };
    for (int i = 0; i < 6; ++i) {
        auto* panel = new ClickLabel(texts[i], m_statusBar);
        panel->setObjectName(QStringLiteral("S1Panel%1").arg(i + 1));
        panel->setContentsMargins(6, 0, 6, 0);
        // The status line shows keywords and page texts as typed.
        panel->setTextFormat(Qt::PlainText);
        const int number = i + 1;
        connect(panel, &ClickLabel::clicked, this, [this, number] { S1_PanelClick(number); });
        m_panels << panel;
    }
    m_panels[2]->setCursor(Qt::PointingHandCursor);
    m_panels[2]->setToolTip(QStringLiteral("点击加入交流群"));
    m_panels[5]->setCursor(Qt::PointingHandCursor);
    m_panels[5]->setToolTip(QStringLiteral("访问Tessaly官方网站"));
    // The fixed panels always show their whole text (panel 4 names sub-pages
    // as long as "资源②（支持自定义搜索）"); the status line takes what is left.
    for (int i : {0, 2, 3, 4, 5})
        m_panels[i]->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Preferred);
    m_panels[3]->setMinimumWidth(110);
    m_panels[1]->setMinimumWidth(200);
    m_statusBar->addWidget(m_panels[0]);
    m_statusBar->addWidget(m_panels[1], 1);
    for (int i = 2; i < 6; ++i)
        m_statusBar->addPermanentWidget(m_panels[i]);
    StatusLine::attach(m_panels[1]);
}

void MainWindow::buildTimers()
{
    // The window's own timers; the sources' timers come from the table of
    // sources, each with the interval its steps run at.
    struct TimerEntry {
        int number;
        int interval;
    };
    static const TimerEntry windowTimers[] = {
        {2, 10}, {9, 1000}, {10, 100}, {11, 10}, {12, 100}, {16, 1000}, {19, 100}, {23, 1000}, {25, 10},
    };
    auto add = [this](const QString& name, int interval) {
        if (findChild<QTimer*>(name, Qt::FindDirectChildrenOnly))
            return;
        auto* t = new QTimer(this);
        t->setObjectName(name);
        t->setInterval(interval);
    };
    for (const TimerEntry& s : windowTimers)
        add(QStringLiteral("Timer%1").arg(s.number), s.interval);
    for (const SourceEntry& source : sourceTable())
        for (const StepTimer& t : source.timers)
            add(t.name, t.intervalMs);
    connect(timer(QStringLiteral("Timer25")), &QTimer::timeout, this, [] { Timer25_Timer(); });
}

void MainWindow::findPageControls()
{
    auto add = [this](QWidget* w) {
        if (w)
            m_gateControls << QPointer<QWidget>(w);
    };
    QWidget* page0 = m_pages->widget(0);
    add(page0->findChild<QWidget*>(QStringLiteral("Command1")));
    add(page0->findChild<QWidget*>(QStringLiteral("Text1")));
    add(page0->findChild<QWidget*>(QStringLiteral("ListView1")));
    add(page0->findChild<QWidget*>(QStringLiteral("Check3")));
    for (int i = 0; i < 24; ++i)
        add(page0->findChild<QWidget*>(arrayName("Check2", i)));
    m_versionCheckOverlay = page0->findChild<QWidget*>(QStringLiteral("Picture1"));

    m_agreementBox = m_pages->widget(6)->findChild<QCheckBox*>(QStringLiteral("Check1"));
    m_liveBrowser = m_pages->widget(6)->findChild<QWebEngineView*>(QStringLiteral("WebBrowser1"));
}

void MainWindow::wirePageControls()
{
    // Status panel 4 names the page just selected, on every tab control.
    QList<QTabWidget*> tabs{m_pages};
    for (int i = 2; i <= 5; ++i) {
        if (auto* t = m_pages->findChild<QTabWidget*>(QStringLiteral("SSTab%1").arg(i)))
            tabs << t;
    }
    for (QTabWidget* t : tabs) {
        QPointer<QTabWidget> tab(t);
        connect(t, &QTabWidget::currentChanged, this, [this, tab](int index) {
            if (tab && index >= 0)
                m_panels[3]->setText(tab->tabText(index));
        });
    }
    // The marker names the page on show, also when a handler switches pages.
    connect(m_pages, &QTabWidget::currentChanged, this, [this](int index) {
        m_navigationBar->moveMarkerTo(index);
    });
    if (m_agreementBox)
        connect(m_agreementBox, &QCheckBox::toggled, this, &MainWindow::Check1_Click);
    if (auto* label = findChild<ClickLabel*>(QStringLiteral("Label21")))
        connect(label, &ClickLabel::clicked, this, &MainWindow::Label21_Click);
    if (auto* label = findChild<ClickLabel*>(QStringLiteral("Label22")))
        connect(label, &ClickLabel::clicked, this, &MainWindow::Label22_Click);
    for (int index : {3, 4}) {
        if (auto* label = findChild<ClickLabel*>(arrayName("Label37", index)))
            connect(label, &ClickLabel::clicked, this, [this, index] { Label37_Click(index); });
    }

    runStep([this] { m_gateControls << QPointer<QWidget>(installSearchAll(this, m_navigationBar)); });
    runStep([this] { installRowActions(this); });
    runStep([this] { installSources(this); });
    // The player after the sources: it listens to their play requests.
    runStep([this] { installPlayer(this); });
}

// ---------------------------------------------------------------------------
// Start-up

void MainWindow::Form_Load()
{
    main();

    const SettingsStore store;
    // 9
    runStep([this] { setWindowIcon(QIcon()); });
    // 10, 11: the live channels (List1) and the magnet channels (Combo1) are
    // filled by their pages.
    // 12
    runStep([this, &store] {
        if (!store.isOn(kNewYearMusic))
            return;
        m_newYearMusic = m_pages->widget(0)->findChild<SoundPlayer*>(QStringLiteral("W2"));
        if (!m_newYearMusic)
            m_newYearMusic = new SoundPlayer(QStringLiteral("W2"), m_pages->widget(0));
        m_newYearMusic->setVolume(50);
        m_newYearMusic->play(shippedFile(QStringLiteral("/xn.mp3")));
    });
    // 13
    runStep([this, &store] {
        m_exitFlags.stopPlayer = store.isOn(kKillPlayer);
        m_exitFlags.stopNetwork = store.isOn(kKillNetwork);
    });
    // 14
    runStep([&store] {
        if (store.isOn(kNoPlayerAtStart)) {
            killProcessesNamed(QStringLiteral("QvodPlayer.exe"));
            killProcessesNamed(QStringLiteral("QvodTerminal.exe"));
        }
    });
    // 15: ticking the box counts as a click on it (its handler runs).
    runStep([this, &store] {
        if (store.isOn(kAgreement) && m_agreementBox)
            m_agreementBox->setChecked(true);
    });
    // 16
    runStep([this, &store] {
        if (store.isOn(kBlockAds))
            timer(QStringLiteral("Timer25"))->start();
    });
    // 17
    runStep([this] {
        if (m_liveBrowser) {
            m_liveBrowser->setVisible(true);
            m_liveBrowser->setUrl(QUrl(startLiveChannelAddress()));
        }
    });
    // 18: the feedback subjects are the about page's own (AboutPage).
    // 19
    runStep([this] { m_panels[4]->setText(QStringLiteral("当前版本：") + versionNumberText()); });

    // The window waits for the version check before it can be used.
    setGateControlsEnabled(false);
    timer(QStringLiteral("Timer9"))->start();
}

void MainWindow::main()
{
    const SettingsStore store;
    // 1
    runStep([&store] { attachSkin(skinFileFor(store.value(kSkin, QStringLiteral("0")))); });
    // 2, 3: column dividers cannot be dragged or double-clicked, rows not renamed.
    runStep([this] {
        for (int i = 1; i <= 19; ++i) {
            auto* list = findChild<QTreeWidget*>(QStringLiteral("ListView%1").arg(i));
            if (!list)
                continue;
            list->header()->setSectionResizeMode(QHeaderView::Fixed);
            list->header()->setSectionsMovable(false);
            list->setEditTriggers(QAbstractItemView::NoEditTriggers);
        }
    });
    // 4: these columns carry the links the row actions use; they stay hidden.
    runStep([this] {
        const struct {
            int list;
            int column;   // counted from 1
        } hidden[] = {{3, 3}, {14, 5}, {2, 5}, {2, 6}, {4, 5}, {13, 5}};
        for (const auto& h : hidden) {
            auto* list = findChild<QTreeWidget*>(QStringLiteral("ListView%1").arg(h.list));
            if (list && h.column <= list->columnCount()) {
                list->header()->setMinimumSectionSize(0);
                list->setColumnWidth(h.column - 1, 0);
            }
        }
    });
    // 5
    runStep([this] {
        for (int i = 0; i < 24; ++i) {
            if (auto* box = findChild<QWidget*>(arrayName("Check2", i)))
                box->setEnabled(false);
        }
    });
    // 6
    runStep([this] {
        if (auto* l = m_pages->widget(7)->findChild<QLabel*>(QStringLiteral("Label18")))
            l->setText(QStringLiteral("版本号：") + versionNumberText());
    });
    // 7
    runStep([this] {
        const QDateTime changed = QFileInfo(QCoreApplication::applicationFilePath()).lastModified();
        if (auto* l = m_pages->widget(7)->findChild<QLabel*>(QStringLiteral("Label31")))
            l->setText(QStringLiteral("最后更新：") + QLocale::system().toString(changed, QLocale::ShortFormat));
    });
    // 8
    runStep([this] {
        m_startupSound->setVolume(100);
        m_startupSound->play(shippedFile(QStringLiteral("/brenn.mp3")));
    });
}

void MainWindow::setGateControlsEnabled(bool enabled)
{
    for (const QPointer<QWidget>& w : std::as_const(m_gateControls)) {
        if (w)
            w->setEnabled(enabled);
    }
    m_pages->setEnabled(enabled);
    m_navigationBar->setHighlightEnabled(enabled);
    m_freeMemoryButton->setEnabled(enabled);
    if (m_versionCheckOverlay) {
        m_versionCheckOverlay->setVisible(!enabled);
        if (!enabled)
            m_versionCheckOverlay->raise();
    }
}

// ---------------------------------------------------------------------------
// Navigation bar

void MainWindow::aicAlphaImage2_MouseMove(int index)
{
    if (index < 0 || index >= m_navigationBar->slotCount())
        return;
    // Until the version check enables it the highlight cannot be clicked, so
    // it is not offered either.
    if (!m_navigationBar->isHighlightEnabled())
        return;
    m_navigationBar->showHighlight(index);
    m_hoverIndex = QString::number(index);
}

void MainWindow::aicAlphaImage3_Click()
{
    static const QStringList pageTexts{QStringLiteral("0"), QStringLiteral("1"), QStringLiteral("2"),
                                       QStringLiteral("3"), QStringLiteral("4"), QStringLiteral("5"),
                                       QStringLiteral("6"), QStringLiteral("7")};
    if (pageTexts.contains(m_hoverIndex))
        m_pages->setCurrentIndex(m_hoverIndex.toInt());
    aicAlphaImage3_MouseUp();
}

void MainWindow::aicAlphaImage3_MouseUp()
{
    m_navigationBar->moveMarkerToHighlight();
}

void MainWindow::hideHoverHighlight()
{
    m_navigationBar->hideHighlight();
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::MouseMove && m_navigationBar->isHighlightShown()) {
        // Form_MouseMove, Picture4_MouseMove, SSTab1 mouse move.
        if (watched == m_navigationBar || watched == m_pages || watched == centralWidget())
            hideHoverHighlight();
    }
    return QMainWindow::eventFilter(watched, event);
}

// ---------------------------------------------------------------------------
// Window-wide handlers

void MainWindow::S1_PanelClick(int panel)
{
    if (panel == 3) {
        if (QWebEngineView* browser = hiddenBrowser(QStringLiteral("WebBrowser3")))
            browser->setUrl(QUrl(chatGroupPageAddress()));
    } else if (panel == 6) {
        openAddress(makerHomePageAddress());
    }
}

QWebEngineView* MainWindow::hiddenBrowser(const QString& name)
{
    QPointer<QWebEngineView>* slot = nullptr;
    if (name == u"WebBrowser2")
        slot = &m_torrentDownloadBrowser;
    else if (name == u"WebBrowser3")
        slot = &m_chatGroupBrowser;
    if (!slot)
        return nullptr;
    // A source may have made it already (the torrent download): one per name.
    if (!*slot)
        *slot = findChild<QWebEngineView*>(name);
    if (!*slot) {
        auto* view = new QWebEngineView(this);
        view->setObjectName(name);
        view->setPage(new SilentWebPage(view));
        view->hide();
        *slot = view;
    }
    return *slot;
}

void MainWindow::Image1_Click()
{
    openAddress(makerHomePageAddress());
}

void MainWindow::Label21_Click()
{
    openAddress(makerHomePageAddress());
}

void MainWindow::Label22_Click()
{
    openAddress(forumPageAddress());
}

void MainWindow::Label37_Click(int index)
{
    if (index == 3)
        openAddress(forumPageAddress());
    else if (index == 4)
        openAddress(chatGroupPageAddress());
}

void MainWindow::Command45_Click()
{
    QPointer<SettingsWindow> form9 = new SettingsWindow(this);
    form9->exec();
    if (form9 && form9->endedProgram())
        m_ending = true;
    delete form9.data();
}

void MainWindow::Command6_Click()
{
    releaseMemory(this);
}

void MainWindow::closeEvent(QCloseEvent* event)
{
    if (m_ending) {
        event->accept();
        return;
    }
    if (handleCloseRequest(this, m_exitFlags)) {
        m_ending = true;
        event->accept();
    } else {
        event->ignore();
    }
}

void MainWindow::endFromWindow()
{
    m_ending = true;
    endProgram();
}

QLabel* MainWindow::statusPanel(int panel) const
{
    return (panel >= 1 && panel <= m_panels.size()) ? m_panels[panel - 1] : nullptr;
}

QTimer* MainWindow::timer(const QString& name) const
{
    return findChild<QTimer*>(name, Qt::FindDirectChildrenOnly);
}

// ---------------------------------------------------------------------------
// Usage agreement

QString MainWindow::agreementText()
{
    return usageAgreementText();
}

void MainWindow::Check1_Click()
{
    if (!m_agreementBox)
        return;
    const SettingsStore store;
    const QString value = store.value(kAgreement);
    const bool ticked = m_agreementBox->isChecked();
    if (!value.contains(u'否')) {
        store.setValue(kAgreement, ticked ? QStringLiteral("是") : QStringLiteral("否"));
        return;
    }
    if (!ticked)
        return;
    const int answer = showMessage(this, agreementText(), MessageIcon::Information, MessageButtons::YesNo);
    if (!m_agreementBox)
        return;
    if (answer == QMessageBox::Yes) {
        m_agreementBox->setChecked(true);
        store.setValue(kAgreement, QStringLiteral("是"));
    } else {
        // Unticking runs this handler again; with 否 stored it then does nothing.
        m_agreementBox->setChecked(false);
        store.setValue(kAgreement, QStringLiteral("否"));
    }
}

// ---------------------------------------------------------------------------
// Version gate and announcements

void MainWindow::Timer9_Timer() { m_versionGate->Timer9_Timer(); }
void MainWindow::Timer12_Timer() { m_versionGate->Timer12_Timer(); }
void MainWindow::Label17_Click() { m_versionGate->Label17_Click(); }
int MainWindow::announcementNumber() const { return m_versionGate->announcementNumber(); }
QString MainWindow::announcementUrl() const { return m_versionGate->announcementUrl(); }
QString MainWindow::welcomeText() { return VersionGate::welcomeText(); }
QString MainWindow::unavailableText() { return VersionGate::unavailableText(); }
QString MainWindow::newVersionText(const QString& fetched) { return VersionGate::newVersionText(fetched); }
QString MainWindow::announcementWaitText() { return VersionGate::announcementWaitText(); }

} // namespace lumorra

