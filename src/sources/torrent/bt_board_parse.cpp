#include "sources/torrent/bt_board_parse.h"

#include "sources/definitions/site_definitions.h"
#include "text/cut.h"

namespace lumorra {

namespace {

const QString kSite = QStringLiteral("bt-board");

// A cell the post's row does not have gives an empty field, not the
// markup the steps would build around nothing.
QString cellText(const FieldCut& field, const Cut& text, const QString& base)
{
    const Cut cell = field.apply(text, 1, base);
    return cell.found() ? cell.str() : QString();
}

} // namespace

QString btBoardUrl(const SiteDefinition& def, const QString& base, int board)
{
    return def.url(QStringLiteral("board"), {{QStringLiteral("base"), base}, {QStringLiteral("board"), QString::number(board)}});
}

QString btBoardUrl(const QString& base, int board)
{
    return btBoardUrl(siteDefinition(kSite), base, board);
}

QList<BtBoardPost> cutBoardPosts(const SiteDefinition& def, const CutPage& page, const QString& base)
{
    const int posts = def.record.isEmpty() ? 0 : int(qMin<qsizetype>(kBtBoardMaxPosts, page.count(def.record)));
    QList<BtBoardPost> out;
    out.reserve(posts);
    const QString anchorOpen = def.text(QStringLiteral("anchor-open"));
    const qsizetype queryStart = anchorOpen.size() + def.text(QStringLiteral("query-start")).size();
    const FieldCut& name = def.field(QStringLiteral("mc"));
    const FieldCut& address = def.field(QStringLiteral("dz"));
    const FieldCut& size = def.field(QStringLiteral("dx"));
    const FieldCut& category = def.field(QStringLiteral("fl"));
    for (int i = 1; i <= posts; ++i) {
        // The anchor is rebuilt with its opening so that the anchor pattern
        // takes it away from the name.
        const QString anchor = anchorOpen + page.piece(def.record, i).str();
        const Cut afterQuery(QStringView(anchor).mid(qMin(queryStart, anchor.size())));
        BtBoardPost post;
        post.address = address.cutText(afterQuery, i, base);
        post.size = cellText(size, afterQuery, base);
        post.category = cellText(category, afterQuery, base);
        post.name = cellText(name, Cut(anchor), base);
        out.append(std::move(post));
    }
    return out;
}

QList<BtBoardPost> cutBoardPosts(const CutPage& page, const QString& base)
{
    return cutBoardPosts(siteDefinition(kSite), page, base);
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
