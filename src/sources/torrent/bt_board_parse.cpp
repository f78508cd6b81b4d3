#include "sources/torrent/bt_board_parse.h"

#include "text/cut.h"
#include "text/preg.h"

namespace lumorra {

namespace {

const QString kPostLink = QStringLiteral("&nbsp;<A href=\"");
const QString kCell = QStringLiteral("<TD");
const QString kCellTags = QStringLiteral("</?TD[^<>]*>");
const QString kAnchorTags = QStringLiteral("</?a[^<>]*>");
const QString kSpanTags = QStringLiteral("</?span[^<>]*>");
// "<a " and the "display.php?" every post link starts with.
constexpr qsizetype kQueryStart = 15;

QString stripped(const QString& text, std::initializer_list<const QString*> patterns)
{
    QString out = text;
    for (const QString* p : patterns)
        out = preg(out, *p, QString());
    return out;
}

} // namespace

QString btBoardUrl(const QString& base, int board)
{
    return base + QStringLiteral("/list.php?BoardID=") + QString::number(board);
}

QList<BtBoardPost> cutBoardPosts(const CutPage& page, const QString& base)
{
    const int posts = int(qMin<qsizetype>(kBtBoardMaxPosts, page.count(kPostLink)));
    QList<BtBoardPost> out;
    out.reserve(posts);
    const QString displayPrefix = base + QStringLiteral("/display.php?");
    for (int i = 1; i <= posts; ++i) {
        // The anchor is rebuilt with "<a " so that the anchor pattern takes
        // it away from the name.
        const QString anchor = QStringLiteral("<a ") + page.piece(kPostLink, i).str();
        const Cut afterQuery(QStringView(anchor).mid(qMin(kQueryStart, anchor.size())));
        BtBoardPost post;
        post.address = afterQuery.upToFirstCharOf(u"\"").erase(u'"').prefix(displayPrefix);

        const Cut sizeCell = afterQuery.piece(kCell, 2);
        if (sizeCell.found())
            post.size = stripped(sizeCell.prefix(kCell), {&kCellTags});

        const Cut categoryCell = afterQuery.piece(kCell, 4);
        if (categoryCell.found())
            post.category = stripped(categoryCell.upToFirstCharOf(u"</TD>").prefix(kCell).suffix(u"/TD>"),
                                     {&kCellTags, &kAnchorTags, &kSpanTags});

        const Cut nameCell = Cut(anchor).upToFirstCharOf(u"</TD>");
        if (nameCell.found())
            post.name = stripped(nameCell, {&kAnchorTags}).remove(QLatin1Char('<'));
        out.append(std::move(post));
    }
    return out;
}

ListRow listRow(int number, const BtBoardPost& post)
{
    ListRow r(rowNumber(number));
    r.set(QStringLiteral("mc"), post.name)
        .set(QStringLiteral("dz"), post.address)
        .set(QStringLiteral("fl"), post.category)
        .set(QStringLiteral("dx"), post.size);
    return r;
}

} // namespace lumorra
