#include "pages/video/qvod_film_source.h"

#include "lists/result_list.h"
#include "lists/row_actions.h"
#include "lists/status_line.h"
#include "pages/engine_binding.h"
#include "pages/video/poster.h"
#include "sources/source_table.h"
#include "sources/video/video_engines.h"
#include "ui/load_picture.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QWidget>

#include <optional>

namespace lumorra {

namespace {

void setBox(QLineEdit* box, const std::optional<QString>& value)
{
    if (box && value)
        box->setText(*value);
}

} // namespace

QString QvodFilmSource::detailFrameCaption()
{
    return QStringLiteral("双击列表可解析种子地址");
}

QvodFilmSource::QvodFilmSource(QWidget* form1, QObject* parent) : QObject(parent), m_form1(form1)
{
    setObjectName(QStringLiteral("QvodFilmSource"));
    m_resultList = findResultList(form1, QStringLiteral("ListView3"));
    m_poster = form1->findChild<QLabel*>(QStringLiteral("Image2"));
    m_detailFrame = form1->findChild<QGroupBox*>(QStringLiteral("Frame1(19)"));
    m_thunderBox = form1->findChild<QLineEdit*>(QStringLiteral("Text7"));
    m_qqBox = form1->findChild<QLineEdit*>(QStringLiteral("Text9"));
    m_baiduBox = form1->findChild<QLineEdit*>(QStringLiteral("Text10"));
    m_qvodBox = form1->findChild<QLineEdit*>(QStringLiteral("Text11"));

    const Pacing pacing = windowPacing(form1);
    m_channel = qobject_cast<QvodChannelEngine*>(
        findSourceEntry(SourceVerb::List, QStringLiteral("qvod-channel"))->createEngine(pacing, this));
    m_detail = qobject_cast<QvodResolveEngine*>(
        findSourceEntry(SourceVerb::Resolve, QStringLiteral("qvod"))->createEngine(pacing, this));

    // The page buttons are never held.
    m_channelBinding = new EngineBinding(m_channel, nullptr, m_resultList, this);
    connect(m_channelBinding, &EngineBinding::ended, this, [this](const SourceOutcome& outcome) {
        if (outcome.failed())
            emit failed(outcome.reason);
        emit listingLoaded();
    });
    connect(m_detail, &SourceEngine::status, this, [](const QString& text) { StatusLine::set(text); });
    connect(m_detail, &SourceEngine::finished, this, &QvodFilmSource::detailEnded);
    if (m_resultList)
        connect(m_resultList, &ResultList::listDoubleClicked, this, &QvodFilmSource::ListView3_DblClick);
}

int QvodFilmSource::rowsLeft() const
{
    return m_channel->rowsLeft();
}

void QvodFilmSource::fetchPage()
{
    SourceRequest request;
    request.page = QString::number(m_pageNumber);
    m_channelBinding->start(request);
}

void QvodFilmSource::ListView3_DblClick()
{
    QTreeWidgetItem* row = guardedSelection(m_resultList);
    if (!row)
        return;
    if (m_detailFrame)
        m_detailFrame->setTitle(detailFrameCaption() + QStringLiteral("（正在解析..请稍等..）"));
    ++m_detailRun;
    SourceRequest request;
    request.address = m_resultList->cell(row, QStringLiteral("dz"));
    m_detail->start(request);
}

void QvodFilmSource::detailEnded(const SourceOutcome& outcome)
{
    // A newer double click has the boxes now.
    if (outcome.kind == SourceOutcome::Kind::Superseded || outcome.kind == SourceOutcome::Kind::Cancelled)
        return;
    if (m_detailFrame)
        m_detailFrame->setTitle(detailFrameCaption());
    if (outcome.failed()) {
        emit failed(outcome.reason);
        emit detailResolved();
        return;
    }
    const QvodFilmDetail& detail = m_detail->filmDetail();
    // The poster comes later; a film chosen meanwhile keeps its own.
    LoadPicture(detail.posterUrl, this, [this, run = m_detailRun](const QImage& picture) {
        if (run == m_detailRun)
            showPosterImage(m_poster, picture);
    });
    setBox(m_thunderBox, detail.thunder);
    setBox(m_baiduBox, detail.baidu);
    setBox(m_qqBox, detail.qq);
    setBox(m_qvodBox, detail.qvod);
    emit detailResolved();
}

} // namespace lumorra
