#include "app/about_page.h"

#include "feedback/feedback_form.h"
#include "pages/everywhere/site_status_window.h"
#include "ui/click_label.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QDateTime>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QLocale>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace lumorra {

namespace {
// Link labels read like web links: underlined, link colour, hand cursor.
ClickLabel* linkLabel(const QString& caption, const char* name, QWidget* parent)
{
    auto* l = new ClickLabel(caption, parent);
    l->setObjectName(QString::fromLatin1(name));
    l->setCursor(Qt::PointingHandCursor);
    QFont f = l->font();
    f.setUnderline(true);
    l->setFont(f);
    QPalette p = l->palette();
    // Disabled links keep the muted colour of disabled text.
    p.setColor(QPalette::Active, QPalette::WindowText, QColor(0x1a, 0x5f, 0xb4));
    p.setColor(QPalette::Inactive, QPalette::WindowText, QColor(0x1a, 0x5f, 0xb4));
    l->setPalette(p);
    return l;
}

QLabel* named(QLabel* l, const char* name)
{
    l->setObjectName(QString::fromLatin1(name));
    return l;
}
} // namespace

AboutPage::AboutPage(QWidget* parent) : QWidget(parent)
{
    auto* page = new QHBoxLayout(this);
    page->setContentsMargins(8, 8, 8, 8);
    page->setSpacing(12);

    // --- 程序信息 ---
    auto* info = new QGroupBox(QStringLiteral("程序信息"), this);
    info->setFixedWidth(380);
    auto* infoLayout = new QVBoxLayout(info);
    infoLayout->setSpacing(10);

    m_programNameLabel = named(new QLabel(QStringLiteral("Lumorra2014"), info), "Label19");
    QFont title = m_programNameLabel->font();
    title.setPointSizeF(title.pointSizeF() * 2.2);
    title.setBold(true);
    m_programNameLabel->setFont(title);
    m_programNameLabel->setAlignment(Qt::AlignCenter);
    infoLayout->addSpacing(12);
    infoLayout->addWidget(m_programNameLabel);
    infoLayout->addSpacing(12);

    // The start-up writes both again; they are set here so the page is
    // complete on its own.
    m_versionLabel = named(new QLabel(QStringLiteral("版本号：") + QStringLiteral(LUMORRA_VERSION_TEXT), info),
                      "Label18");
    const QDateTime built = QFileInfo(QCoreApplication::applicationFilePath()).lastModified();
    m_lastUpdatedLabel = named(new QLabel(QStringLiteral("最后更新：")
                                     + QLocale::system().toString(built, QLocale::ShortFormat),
                                 info),
                      "Label31");
    infoLayout->addWidget(m_versionLabel);
    infoLayout->addWidget(m_lastUpdatedLabel);
    infoLayout->addSpacing(12);

    m_homePageLink = linkLabel(QStringLiteral("访问Tessaly官方网站"), "Label21", info);
    m_forumLink = linkLabel(QStringLiteral("进入Tessaly用户论坛"), "Label22", info);
    m_downloadsLink = linkLabel(QStringLiteral("下载更多Brenn系列软件"), "Label37(3)", info);
    m_chatGroupLink = linkLabel(QStringLiteral("加入Brenn系列软件交流群"), "Label37(4)", info);
    infoLayout->addWidget(m_homePageLink);
    infoLayout->addWidget(m_forumLink);
    infoLayout->addWidget(m_downloadsLink);
    infoLayout->addWidget(m_chatGroupLink);
    m_siteStatusLink = linkLabel(QStringLiteral("查看各资源站点状态"), "siteStatusLink", info);
    connect(m_siteStatusLink, &ClickLabel::clicked, this, [this] { showSiteStatusWindow(window()); });
    infoLayout->addWidget(m_siteStatusLink);
    infoLayout->addSpacing(12);
    auto* about = new QLabel(QStringLiteral(
        "Lumorra 把网盘、电驴、BT、磁力、影视及在线视频等资源的搜索集中在一个窗口中，"
        "输入关键字即可一站式查找。\n\n使用中遇到问题或有任何建议，欢迎通过右侧的在线反馈告诉我们。"),
        info);
    about->setWordWrap(true);
    infoLayout->addWidget(about);
    infoLayout->addStretch(1);
    page->addWidget(info);

    // --- 在线反馈 ---
    auto* feedback = new QGroupBox(QStringLiteral("在线反馈"), this);
    auto* form = new QGridLayout(feedback);
    form->setVerticalSpacing(8);
    form->setHorizontalSpacing(8);

    form->addWidget(new QLabel(QStringLiteral("请选择反馈项目："), feedback), 0, 0);
    m_subject = new QComboBox(feedback);
    m_subject->setObjectName(QStringLiteral("subject"));
    m_subject->setMinimumWidth(240);
    const QString dashes(17, u'-');
    m_subject->addItems({QStringLiteral("产品其他问题咨询"), QStringLiteral("产品建议/意见反馈"), dashes,
                         QStringLiteral("云点播相关咨询"), QStringLiteral("网盘资源相关咨询"),
                         QStringLiteral("影音资源相关咨询"), QStringLiteral("软件资源相关咨询"),
                         QStringLiteral("图书资源相关咨询"), QStringLiteral("综合资源相关咨询"), dashes,
                         QStringLiteral("广告/合作/代理咨询")});
    form->addWidget(m_subject, 0, 1, Qt::AlignLeft);

    form->addWidget(new QLabel(QStringLiteral("反馈内容："), feedback), 1, 0, Qt::AlignTop);
    m_txtMessage = new QPlainTextEdit(feedback);
    m_txtMessage->setObjectName(QStringLiteral("txtMessage"));
    form->addWidget(m_txtMessage, 1, 1);
    form->setRowStretch(1, 1);
    form->setColumnStretch(1, 1);

    auto* user = new QGroupBox(QStringLiteral("用户信息[可选填]"), feedback);
    auto* userLayout = new QVBoxLayout(user);
    m_replyWantedBox = new QCheckBox(QStringLiteral("是否接受作者的回复反馈?[请选择联系的方式]"), user);
    m_replyWantedBox->setObjectName(QStringLiteral("Check4"));
    userLayout->addWidget(m_replyWantedBox);
    auto* contact = new QHBoxLayout;
    m_option5 = new QRadioButton(QStringLiteral("QQ"), user);
    m_option5->setObjectName(QStringLiteral("Option5"));
    m_option6 = new QRadioButton(QStringLiteral("E-mail"), user);
    m_option6->setObjectName(QStringLiteral("Option6"));
    m_contactBox = new QLineEdit(user);
    m_contactBox->setObjectName(QStringLiteral("Text24"));
    contact->addWidget(m_option5);
    contact->addWidget(m_option6);
    contact->addSpacing(8);
    contact->addWidget(new QLabel(QStringLiteral("联系方式："), user));
    contact->addWidget(m_contactBox, 1);
    userLayout->addLayout(contact);
    form->addWidget(user, 2, 0, 1, 2);

    auto* send = new QHBoxLayout;
    send->addStretch(1);
    m_cmdSend = new QPushButton(QStringLiteral("发送反馈"), feedback);
    m_cmdSend->setObjectName(QStringLiteral("CmdSend"));
    m_cmdSend->setMinimumWidth(110);
    send->addWidget(m_cmdSend);
    form->addLayout(send, 3, 0, 1, 2);
    page->addWidget(feedback, 1);

    // No reply is asked for until Check4 is ticked.
    m_option5->setEnabled(false);
    m_option6->setEnabled(false);
    m_contactBox->setEnabled(false);
    connect(m_replyWantedBox, &QCheckBox::toggled, this, [this] { Check4_Click(); });

    // Checks and sends what the form holds.
    m_feedback = new FeedbackForm(this);
}

void AboutPage::Check4_Click()
{
    if (m_replyWantedBox->isChecked()) {
        m_option5->setEnabled(true);
        m_option6->setEnabled(true);
        m_option5->setChecked(true);
        m_contactBox->setEnabled(true);
        m_contactBox->setFocus();
    } else {
        // The chosen way of contact is kept for the next time.
        m_contactBox->setEnabled(false);
        m_option5->setEnabled(false);
        m_option6->setEnabled(false);
    }
}

} // namespace lumorra
