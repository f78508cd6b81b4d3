#include "pages/film/film_detail.h"

#include "lists/result_list.h"
#include "lists/row_actions.h"
#include "lists/status_line.h"
#include "sources/film/film_detail_parse.h"
#include "pages/film/film_detail_window.h"
#include "ui/load_picture.h"
#include "ui/message_box.h"

#include <QMessageBox>
#include <QWidget>

namespace lumorra {

namespace {

const char kInstanceName[] = "FilmDetailView";

} // namespace

QString filmDetailFailedText(const FetchResult& result)
{
    const QString reason = pageFailureText(result);
    return QStringLiteral("影片信息获取失败(") + reason + QStringLiteral("),请稍后再试..");
}

FilmDetailView::FilmDetailView(QWidget* form1) : QObject(form1), m_form1(form1)
{
    setObjectName(QString::fromLatin1(kInstanceName));
    m_boardPosts = findResultList(form1, QStringLiteral("ListView18"));
    if (m_boardPosts)
        connect(m_boardPosts, &ResultList::listDoubleClicked, this, &FilmDetailView::ListView18_DblClick);
}

FilmDetailView::~FilmDetailView()
{
    // Form11 is a window of its own: it goes with the main window.
    delete m_form11.data();
}

FilmDetailView* FilmDetailView::of(QWidget* form1)
{
    return form1 ? form1->findChild<FilmDetailView*>(QString::fromLatin1(kInstanceName), Qt::FindDirectChildrenOnly)
                 : nullptr;
}

FilmDetailWindow* FilmDetailView::form11() const
{
    return m_form11.data();
}

void FilmDetailView::ListView18_DblClick()
{
    QTreeWidgetItem* row = guardedSelection(m_boardPosts);
    if (!row)
        return;
    StatusLine::set(QStringLiteral("影片信息获取中..."));
    const QString postAddress = m_boardPosts->cellAt(row, 2);
    m_postFetch.get(postAddress, FetchMode::WithIfModifiedSince, this,
                    [this, postAddress](const FetchResult& result) {
        // An error page is the server's, never the post: it is read as a post
        // without film fields, so the user is still offered the browser,
        // which may well get further than we did.
        if (result.ok() && result.status >= 400) {
            showPost(postAddress, QString());
            return;
        }
        if (!result.hasPage()) {
            StatusLine::set(filmDetailFailedText(result));
            emit detailEnded(false);
            return;
        }
        showPost(postAddress, result.text);
    });
}

void FilmDetailView::showPost(const QString& postAddress, const QString& post)
{
    const FilmDetail detail = cutFilmDetail(post);
    if (!isReadable(detail)) {
        const int answer = showMessage(m_form1->window(), QStringLiteral("无法获取当前影片信息!是否为您打开对应地址?"),
                                       MessageIcon::Information, MessageButtons::YesNo);
        // A refused address leaves its reason on the status line.
        if (answer != QMessageBox::Yes || openPageAddress(postAddress))
            StatusLine::set(QStringLiteral("无法获取当前影片信息!"));
        emit detailEnded(false);
        return;
    }
    // Each post gets a window of its own, loaded afresh.
    delete m_form11.data();
    m_form11 = new FilmDetailWindow;
    m_form11->fill(detail);
    // The poster comes when it comes; the window does not wait for it.
    const QPointer<FilmDetailWindow> window = m_form11;
    LoadPicture(detail.poster, m_form11, [window](const QImage& image) {
        if (window)
            window->setPoster(image);
    });
    m_form11->showOver(m_form1);
    emit detailEnded(true);
}

void installFilmDetailView(QWidget* form1)
{
    if (!form1 || FilmDetailView::of(form1))
        return;
    new FilmDetailView(form1);
}

} // namespace lumorra
