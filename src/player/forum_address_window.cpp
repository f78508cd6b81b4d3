#include "player/forum_address_window.h"

#include "net/site_config.h"
#include "pages/page_widgets.h"
#include "sources/video/playback_parse.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace lumorra {

namespace {

// A framed column of numbered address boxes Text1(first) … Text1(last).
QGroupBox* addressFrame(const QString& caption, int first, int last, QList<QLineEdit*>& boxes, QWidget* parent)
{
    auto* frame = pageui::frame(caption, parent);
    auto* grid = new QGridLayout(frame);
    for (int i = first; i <= last; ++i) {
        const int row = i - first;
        grid->addWidget(pageui::label(QString::number(row + 1) + QLatin1Char('.'), frame), row, 0);
        QLineEdit* box = pageui::lineEdit(pageui::arrayName(QStringLiteral("Text1"), i), frame);
        box->setMinimumWidth(260);
        grid->addWidget(box, row, 1);
        boxes << box;
    }
    return frame;
}

} // namespace

ForumAddressWindow::ForumAddressWindow(QWidget* form1) : QDialog(form1)
{
    setObjectName(QStringLiteral("Form6"));
    setWindowTitle(QStringLiteral("论坛最新地址"));
    setWindowIcon(QIcon());
    setWindowModality(Qt::ApplicationModal);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(addressFrame(QStringLiteral("最新地址："), 2, 5, m_boxes, this));
    layout->addWidget(addressFrame(QStringLiteral("备用地址："), 6, 7, m_boxes, this));
    m_status = new QLabel(this);
    m_status->setObjectName(QStringLiteral("forumStatusLabel"));
    m_status->setTextFormat(Qt::PlainText);
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(m_status, 1);
    m_fetchButton = pageui::button(QStringLiteral("Command1"), QStringLiteral("开始获取"), this);
    bottom->addWidget(m_fetchButton);
    layout->addLayout(bottom);
    connect(m_fetchButton, &QPushButton::clicked, this, &ForumAddressWindow::Command1_Click);
}

QLineEdit* ForumAddressWindow::addressBox(int index) const
{
    return index >= 2 && index <= 7 ? m_boxes.at(index - 2) : nullptr;
}

void ForumAddressWindow::Command1_Click()
{
    m_status->clear();
    const QString url =
        forumAddressPageUrl(SiteConfig::current().base(QString::fromLatin1(role::ForumAddressPage)));
    m_fetch.get(url, FetchMode::Plain, this, [this](const FetchResult& r) {
        if (!r.hasPage()) {
            const QString reason = pageFailureText(r);
            m_status->setText(QStringLiteral("获取失败(") + reason + QStringLiteral("),请稍后再试.."));
            emit addressesLoaded();
            return;
        }
        const QStringList links = forumAddressLinks(r.text);
        for (int i = 0; i < m_boxes.size(); ++i)
            m_boxes[i]->setText(links.value(i));
        emit addressesLoaded();
    });
}

ForumAddressWindow* findForumAddressWindow(QWidget* form1)
{
    return form1 ? form1->findChild<ForumAddressWindow*>(QStringLiteral("Form6"), Qt::FindDirectChildrenOnly)
                 : nullptr;
}

void showForumAddressWindow(QWidget* form1)
{
    if (!form1)
        return;
    ForumAddressWindow* form6 = findForumAddressWindow(form1);
    if (!form6)
        form6 = new ForumAddressWindow(form1);
    form6->show();
    form6->raise();
    form6->activateWindow();
}

} // namespace lumorra
