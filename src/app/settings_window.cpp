#include "app/settings_window.h"

#include "app/application.h"

#include "ui/click_label.h"
#include "app/exit_flow.h"
#include "ui/message_box.h"
#include "app/painted_icons.h"
#include "core/settings_store.h"
#include "app/skins.h"
#include "core/vendor_pages.h"
#include "pages/everywhere/site_status_window.h"
#include "platform/open_address.h"
#include "share/share_links.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QMessageBox>
#include <QProcess>
#include <QPushButton>
#include <QTabWidget>
#include <QToolButton>
#include <QVBoxLayout>

namespace lumorra {

namespace {

using namespace settingkey;

std::function<void()>& restartHook()
{
    static std::function<void()> hook;
    return hook;
}

QString yesNo(const QCheckBox* box)
{
    return box->isChecked() ? QStringLiteral("是") : QStringLiteral("否");
}

QCheckBox* namedCheck(const QString& name, const QString& text, QWidget* parent)
{
    auto* box = new QCheckBox(text, parent);
    box->setObjectName(name);
    return box;
}

} // namespace

SettingsWindow::SettingsWindow(QWidget* parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("Form9"));
    setWindowTitle(QStringLiteral("软件设置"));
    setModal(true);

    m_tabs = new QTabWidget(this);
    m_tabs->setObjectName(QStringLiteral("SettingsPages"));
    m_tabs->addTab(buildGlobalPage(), QStringLiteral("全局设置"));
    m_tabs->addTab(buildOtherPage(), QStringLiteral("其他设置"));
    m_tabs->addTab(buildSharePage(), QStringLiteral("分享软件"));

    auto* save = new QPushButton(QStringLiteral("保存设置"), this);
    save->setObjectName(QStringLiteral("Command1"));
    auto* cancel = new QPushButton(QStringLiteral("取消设置"), this);
    cancel->setObjectName(QStringLiteral("Command2"));
    auto* defaults = new QPushButton(QStringLiteral("恢复默认设置"), this);
    defaults->setObjectName(QStringLiteral("Command3"));
    for (QPushButton* b : {save, cancel, defaults}) {
        b->setAutoDefault(false);
        b->setMinimumWidth(104);
    }
    connect(save, &QPushButton::clicked, this, &SettingsWindow::Command1_Click);
    connect(cancel, &QPushButton::clicked, this, &SettingsWindow::Command2_Click);
    connect(defaults, &QPushButton::clicked, this, &SettingsWindow::Command3_Click);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(save);
    buttons->addWidget(cancel);
    buttons->addWidget(defaults);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(12, 12, 12, 12);
    layout->setSpacing(10);
    layout->addWidget(m_tabs, 1);
    layout->addLayout(buttons);

    resize(520, 340);
    Form_Load();
}

QWidget* SettingsWindow::buildGlobalPage()
{
    auto* page = new QWidget;
    m_closePlayerOnExitBox = namedCheck(QStringLiteral("Check4"), QStringLiteral("退出软件时同时关闭快播软件"), page);
    m_closeTransferOnExitBox = namedCheck(QStringLiteral("Check5"),
                          QStringLiteral("退出软件时同时关闭QvodTermail(网络传输)"), page);
    m_noPlayerAtStartBox = namedCheck(QStringLiteral("Check6"), QStringLiteral("启动软件时不要启动快播软件"), page);
    m_blockPlayerAdsBox = namedCheck(QStringLiteral("Check7"),
                          QStringLiteral("自动屏蔽快播弹出的广告(使用默认IE的用户禁止选择此项)"), page);
    // A placeholder for switches still to come; it does nothing.
    m_moreSettingsBox = namedCheck(QStringLiteral("Check2"), QStringLiteral("更多软件设置功能即将添加.."), page);
    m_moreSettingsBox->setEnabled(false);

    // Plain text, underlined: the skin gives link labels their colour, where a
    // rich-text anchor would keep the palette's blue, unreadable on a dark skin.
    auto* link = new ClickLabel(QStringLiteral("观看视频教程"), page);
    link->setObjectName(QStringLiteral("Label9"));
    link->setTextFormat(Qt::PlainText);
    link->setCursor(Qt::PointingHandCursor);
    QFont underlined = link->font();
    underlined.setUnderline(true);
    link->setFont(underlined);
    m_tutorialLink = link;
    connect(link, &ClickLabel::clicked, this, &SettingsWindow::Label9_Click);

    auto* layout = new QVBoxLayout(page);
    layout->setContentsMargins(16, 14, 16, 12);
    layout->setSpacing(9);
    for (QCheckBox* box : {m_closePlayerOnExitBox, m_closeTransferOnExitBox, m_noPlayerAtStartBox, m_blockPlayerAdsBox, m_moreSettingsBox})
        layout->addWidget(box);
    layout->addStretch(1);
    auto* linkRow = new QHBoxLayout;
    linkRow->addStretch(1);
    linkRow->addWidget(link);
    layout->addLayout(linkRow);
    return page;
}

QWidget* SettingsWindow::buildOtherPage()
{
    auto* page = new QWidget;
    // Periodic memory release is always on; the box only says so.
    m_memoryReleaseBox = namedCheck(QStringLiteral("Check1"),
                          QStringLiteral("是否开启定期释放内存功能 (本功能暂时无法由用户操作,默认为开启)"),
                          page);
    m_memoryReleaseBox->setChecked(true);
    m_memoryReleaseBox->setEnabled(false);

    auto* frame = new QGroupBox(QStringLiteral("更换皮肤"), page);
    frame->setObjectName(QStringLiteral("Frame1"));
    auto* label = new QLabel(QStringLiteral("请选择您喜爱的软件皮肤："), frame);
    label->setObjectName(QStringLiteral("Label10"));
    m_skinList = new QComboBox(frame);
    m_skinList->setObjectName(QStringLiteral("Combo1"));
    m_skinList->setMinimumWidth(150);
    auto* row = new QHBoxLayout(frame);
    row->setContentsMargins(14, 12, 14, 12);
    row->addWidget(label);
    row->addWidget(m_skinList);
    row->addStretch(1);

    // Whether the sites answer: the check opens over this window, which
    // stays usable.
    auto* sitesRow = new QHBoxLayout;
    sitesRow->addWidget(new QLabel(QStringLiteral("检查各资源站点是否可以访问："), page));
    auto* siteStatus = new QPushButton(QStringLiteral("站点状态"), page);
    siteStatus->setObjectName(QStringLiteral("siteStatusButton"));
    siteStatus->setAutoDefault(false);
    siteStatus->setMinimumWidth(104);
    connect(siteStatus, &QPushButton::clicked, this, [this] { showSiteStatusWindow(this); });
    sitesRow->addWidget(siteStatus);
    sitesRow->addStretch(1);

    auto* layout = new QVBoxLayout(page);
    layout->setContentsMargins(16, 14, 16, 12);
    layout->setSpacing(14);
    layout->addWidget(m_memoryReleaseBox);
    layout->addWidget(frame);
    layout->addLayout(sitesRow);
    layout->addStretch(1);
    return page;
}

QWidget* SettingsWindow::buildSharePage()
{
    static const char* const captions[6] = {"QQ好友", "QQ空间", "腾讯微博", "新浪微博", "人人网", "百度贴吧"};
    auto* page = new QWidget;
    auto* grid = new QGridLayout;
    grid->setHorizontalSpacing(18);
    grid->setVerticalSpacing(4);
    for (int i = 0; i < 6; ++i) {
        auto* button = new QToolButton(page);
        button->setObjectName(QStringLiteral("aicAlphaImage%1").arg(i + 1));
        button->setIcon(QIcon(shareIcon(i, 44, devicePixelRatioF())));
        button->setIconSize(QSize(44, 44));
        button->setAutoRaise(true);
        button->setCursor(Qt::PointingHandCursor);
        button->setToolTip(QString::fromUtf8(captions[i]));
        auto* caption = new QLabel(QString::fromUtf8(captions[i]), page);
        caption->setObjectName(QStringLiteral("Label%1").arg(i + 1));
        caption->setAlignment(Qt::AlignCenter);
        grid->addWidget(button, 0, i, Qt::AlignHCenter);
        grid->addWidget(caption, 1, i, Qt::AlignHCenter);
    }
    auto* note = new QLabel(QStringLiteral("点击图标即可分享至对应平台，感谢您的支持"), page);
    note->setObjectName(QStringLiteral("Label7"));
    note->setAlignment(Qt::AlignCenter);

    auto* layout = new QVBoxLayout(page);
    layout->setContentsMargins(16, 22, 16, 12);
    layout->setSpacing(18);
    layout->addLayout(grid);
    layout->addWidget(note);
    layout->addStretch(1);
    new ShareLinks(page);
    return page;
}

void SettingsWindow::Form_Load()
{
    setWindowIcon(QIcon());
    const SettingsStore store;
    m_closePlayerOnExitBox->setChecked(store.isOn(kKillPlayer));
    m_closeTransferOnExitBox->setChecked(store.isOn(kKillNetwork));
    m_noPlayerAtStartBox->setChecked(store.isOn(kNoPlayerAtStart));
    m_blockPlayerAdsBox->setChecked(store.isOn(kBlockAds));

    for (int i = 0; i < kSkinCount; ++i) {
        static const char16_t circled[kSkinCount] = {u'①', u'②', u'③', u'④', u'⑤',
                                                     u'⑥', u'⑦', u'⑧', u'⑨'};
        m_skinList->addItem(QStringLiteral("软件皮肤") + QChar(circled[i]));
    }
    m_openingSkin = settingsSkinIndex(store.value(kSkin, QStringLiteral("0")));
    const int entry = (m_openingSkin >= 0 && m_openingSkin < kSkinCount) ? m_openingSkin : 0;
    {
        const QSignalBlocker quiet(m_skinList);
        m_skinList->setCurrentIndex(entry);
    }
    // Selecting the entry counts as choosing it: preview and remember.
    Combo1_Click();
    connect(m_skinList, &QComboBox::currentIndexChanged, this, &SettingsWindow::Combo1_Click);
}

void SettingsWindow::Combo1_Click()
{
    const int index = m_skinList->currentIndex();
    if (index >= 0 && index < kSkinCount)
        attachSkin(skinFileForIndex(index));
    m_chosenSkin = QString::number(index);
}

bool SettingsWindow::save()
{
    const SettingsStore store;
    bool written = true;
    written &= store.setValue(kReleaseMemory, yesNo(m_memoryReleaseBox));
    written &= store.setValue(kKillPlayer, yesNo(m_closePlayerOnExitBox));
    written &= store.setValue(kKillNetwork, yesNo(m_closeTransferOnExitBox));
    written &= store.setValue(kNoPlayerAtStart, yesNo(m_noPlayerAtStartBox));
    written &= store.setValue(kBlockAds, yesNo(m_blockPlayerAdsBox));
    written &= store.setValue(kSkin, m_chosenSkin);
    return written;
}

void SettingsWindow::Command1_Click()
{
    if (!save()) {
        // Asking to restart for settings that never reached the file would
        // only hide the failure.
        showMessage(this, saveFailedText(), MessageIcon::Warning, MessageButtons::Ok);
        return;
    }
    const int answer = showMessage(this, restartQuestion(), MessageIcon::Information,
                                   MessageButtons::YesNo);
    if (answer == QMessageBox::Yes) {
        m_closing = true;
        startProgramAgain();
        m_endedProgram = true;
        endProgram();
        QDialog::accept();
        return;
    }
    m_closing = true;
    QDialog::accept();
}

void SettingsWindow::Command2_Click()
{
    if (m_closing)
        return;
    m_closing = true;
    attachSkin(skinFileForIndex(m_openingSkin));
    QDialog::reject();
}

void SettingsWindow::Command3_Click()
{
    const int answer = showMessage(this, defaultsQuestion(), MessageIcon::Information,
                                   MessageButtons::YesNo);
    if (answer != QMessageBox::Yes)
        return;
    m_noPlayerAtStartBox->setChecked(true);
    m_blockPlayerAdsBox->setChecked(true);
    m_memoryReleaseBox->setChecked(true);
    Command1_Click();
}

void SettingsWindow::Label9_Click()
{
    openAddress(tutorialPageAddress());
}

void SettingsWindow::reject()
{
    Command2_Click();
}

void SettingsWindow::setRestartHook(std::function<void()> hook)
{
    restartHook() = std::move(hook);
}

void SettingsWindow::startProgramAgain()
{
    if (const auto& hook = restartHook()) {
        hook();
        return;
    }
    QProcess::startDetached(QCoreApplication::applicationFilePath(),
                            restartArguments(QCoreApplication::arguments().mid(1)));
}

QString SettingsWindow::restartQuestion()
{
    return QStringLiteral("设置成功!需重启生效,现在为您重启软件?");
}

QString SettingsWindow::defaultsQuestion()
{
    return QStringLiteral("确认要恢复默认设置?");
}

QString SettingsWindow::saveFailedText()
{
    return QStringLiteral("设置保存失败!请检查程序所在目录是否可以写入.");
}

} // namespace lumorra
