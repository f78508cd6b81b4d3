#include "player/on_demand_handlers.h"

#include "lists/ed2k_extraction.h"
#include "lists/result_list.h"
#include "lists/row_actions.h"
#include "lists/status_line.h"
#include "player/on_demand_window.h"
#include "sources/video/playback_parse.h"

#include <QAbstractButton>
#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QWidget>

namespace lumorra {

QString OnDemandHandlers::enjoyText()
{
    return QStringLiteral("请您欣赏..");
}

OnDemandHandlers::OnDemandHandlers(QWidget* form1) : QObject(form1), m_form1(form1)
{
    setObjectName(QStringLiteral("OnDemandHandlers"));
    m_emuleFilmList = findResultList(form1, QStringLiteral("ListView6"));
    m_magnetList = findResultList(form1, QStringLiteral("ListView19"));
    m_onDemandAddressBox = form1->findChild<QLineEdit*>(QStringLiteral("Text12"));
    if (auto* b = form1->findChild<QAbstractButton*>(QStringLiteral("Command43")))
        connect(b, &QAbstractButton::clicked, this, &OnDemandHandlers::Command43_Click);
    if (auto* b = form1->findChild<QAbstractButton*>(QStringLiteral("Command56")))
        connect(b, &QAbstractButton::clicked, this, &OnDemandHandlers::Command56_Click);
    bindRowAction(form1, QStringLiteral("jdydbf"), [this] { jdydbf_Click(); });
    bindRowAction(form1, QStringLiteral("ydydbf"), [this] { ydydbf_Click(); });
}

void OnDemandHandlers::jdydbf_Click()
{
    QTreeWidgetItem* row = guardedSelection(m_emuleFilmList);
    if (!row)
        return;
    StatusLine::set(QStringLiteral("正在进行Tessaly云点播.."));
    m_filmPageFetch.get(m_emuleFilmList->cell(row, QStringLiteral("zzdz")), FetchMode::WithIfModifiedSince, this,
                        [this](const FetchResult& r) {
        if (!r.hasPage()) {
            const QString reason = pageFailureText(r);
            StatusLine::set(QStringLiteral("云点播失败(") + reason + QStringLiteral("),请稍后再试.."));
            emit filmPageRead();
            return;
        }
        // A page without an ed2k link has nothing to play: a bare "ed2k://"
        // would only show the service's error page.
        const std::optional<QString> link = firstEd2kLink(r.text);
        if (!link) {
            StatusLine::set(QStringLiteral("该资源页面中没有找到ed2k链接,无法云点播.."));
            emit filmPageRead();
            return;
        }
        playOnDemand(m_form1, *link, [] { StatusLine::set(enjoyText()); });
        emit filmPageRead();
    });
}

void OnDemandHandlers::ydydbf_Click()
{
    QTreeWidgetItem* row = guardedSelection(m_magnetList);
    if (!row)
        return;
    playOnDemand(m_form1, m_magnetList->cell(row, QStringLiteral("cl")), [] { StatusLine::set(enjoyText()); });
}

void OnDemandHandlers::Command43_Click()
{
    const QString address = m_onDemandAddressBox ? m_onDemandAddressBox->text() : QString();
    if (address.isEmpty()) {
        StatusLine::set(QStringLiteral("请输入视频地址"));
        return;
    }
    playOnDemand(m_form1, address);
}

void OnDemandHandlers::Command56_Click()
{
    if (!m_onDemandAddressBox)
        return;
    m_onDemandAddressBox->clear();
    m_onDemandAddressBox->setText(QApplication::clipboard()->text());
}

} // namespace lumorra
