#include "sources/film/film_detail_parse.h"

#include "text/cut.h"

namespace lumorra {

namespace {

const QString kLayoutBMark = QStringLiteral("◎译　　名");
const QString kJump = QStringLiteral("jump.php?url=");
const QString kTwoLineEnds = QStringLiteral("\r\n\r\n");
const QString kNameField = QStringLiteral("片名:");

Cut synopsisFrom(const Cut& start)
{
    return start.upToFirstCharOf(u"◎影片截图")
        .erase(u'◎')
        .erase(u"<br />")
        .replace(u"&nbsp;", u" ")
        .erase(u"&amp;");
}

} // namespace

FilmDetail cutFilmDetail(const QString& postText)
{
    const Cut post(postText);
    FilmDetail d;
    d.poster = post.piece(u"[IMG]", 1).upToFirstCharOf(u"[/IMG]").erase(u'[');
    d.layoutB = postText.contains(kLayoutBMark);
    if (d.layoutB) {
        d.description = post.piece(QString(QStringLiteral("<br />") + kLayoutBMark), 1)
                            .upToFirstCharOf(u"◎简　　介")
                            .replace(u"◎", kTwoLineEnds)
                            .erase(u"<br />")
                            .replace(u"&nbsp;", u" ")
                            .prefix(kLayoutBMark);
        d.synopsis = synopsisFrom(post.piece(u"◎简　　介", 1));
    } else {
        // The fields run up to the synopsis heading; a "剧" inside them
        // ("剧情片") is part of the text.
        d.description = post.piece(QString(QStringLiteral("<br />") + kNameField), 1)
                            .before(u"剧情简介")
                            .replace(u"<br />", kTwoLineEnds)
                            .replace(u"&nbsp;", u" ")
                            .prefix(kNameField);
        d.synopsis = synopsisFrom(post.piece(u"剧情简介", 1));
    }
    d.firstAddress = post.piece(kJump, 1).upToFirstCharOf(u"\"").erase(u'"');
    const Cut second = post.piece(kJump, 2).upToFirstCharOf(u"\"").erase(u'"').erase(u"http://");
    // Without a second link there is nothing to open: "http://" alone is no
    // address.
    if (!second.isEmpty())
        d.secondAddress = second.prefix(u"http://");
    return d;
}

bool isReadable(const FilmDetail& detail)
{
    return !QString(detail.description).remove(kNameField).isEmpty();
}

} // namespace lumorra
