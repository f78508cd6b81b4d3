#include "sources/emule/emule_category_parse.h"

#include "text/cut.h"

#include <limits>

namespace lumorra {

namespace {

const QString kRecord = QStringLiteral("<div class=\"thumb\">");
const QString kLink = QStringLiteral("<a href=\"/");
const QString kName = QStringLiteral("title=\"");
const QString kRemark = QStringLiteral("</a> | ");
const QString kRemarkEnd = QStringLiteral("</p>");

} // namespace

const QList<EmuleCategoryInfo>& emuleCategories()
{
    static const QList<EmuleCategoryInfo> all = {
        {EmuleCategory::Films, "Command21", 0, "/emule/movie/", "ListView6"},
        {EmuleCategory::Music, "Command26", 0, "/emule/music/", "ListView7"},
        {EmuleCategory::Software, "Command27", 0, "/emule/software/", "ListView8"},
        {EmuleCategory::Books, "Command27", 3, "/emule/book/", "ListView9"},
        {EmuleCategory::Education, "Command27", 6, "/emule/edu/", "ListView10"},
        {EmuleCategory::Data, "Command27", 9, "/emule/datum/", "ListView11"},
        {EmuleCategory::Cartoons, "Command41", 0, "/emule/cartoon/", "ListView12"},
    };
    return all;
}

const EmuleCategoryInfo& emuleCategoryInfo(EmuleCategory category)
{
    for (const EmuleCategoryInfo& c : emuleCategories())
        if (c.category == category)
            return c;
    return emuleCategories().front();
}

std::optional<CategoryButton> categoryButton(const QString& array, int index)
{
    for (const EmuleCategoryInfo& c : emuleCategories()) {
        if (array != QLatin1String(c.buttonArray))
            continue;
        const int offset = index - c.firstButton;
        if (offset < 0 || offset > 2)
            continue;
        static const PagingAction actions[] = {PagingAction::Fetch, PagingAction::Next,
                                               PagingAction::Previous};
        return CategoryButton{c.category, actions[offset]};
    }
    return std::nullopt;
}

QString categoryPageUrl(const QString& base, EmuleCategory category, qint64 page)
{
    return base + QLatin1String(emuleCategoryInfo(category).path) + QString::number(page);
}

qint64 nextCategoryPage(EmuleCategory category, qint64 page)
{
    const qint64 top = category == EmuleCategory::Cartoons ? std::numeric_limits<qint16>::max()
                                                           : std::numeric_limits<qint64>::max();
    return page < top ? page + 1 : page;
}

QString categoryRecordMarker()
{
    return kRecord;
}

int countCategoryRecords(const CutPage& page)
{
    return int(qMin<qsizetype>(page.count(kRecord), std::numeric_limits<int>::max()));
}

std::optional<EmuleRecord> cutCategoryRecord(const CutPage& page, int i, const QString& base)
{
    if (i < 1 || !page.hasPiece(kRecord, i))
        return std::nullopt;
    const Cut block = page.piece(kRecord, i);
    EmuleRecord r;
    r.address = base + QLatin1Char('/') + block.piece(kLink, 1).before(QLatin1Char('"')).str();
    r.name = block.piece(kName, 1).before(QLatin1Char('"'));
    r.remark = block.piece(kRemark, 1).before(kRemarkEnd).erase(QLatin1Char('<'));
    return r;
}

QList<EmuleRecord> cutCategoryRecords(const CutPage& page, const QString& base, int limit)
{
    QList<EmuleRecord> out;
    const int n = qMin(limit, countCategoryRecords(page));
    out.reserve(qMax(n, 0));
    for (int i = 1; i <= n; ++i)
        if (std::optional<EmuleRecord> r = cutCategoryRecord(page, i, base))
            out.append(*r);
    return out;
}

ListRow listRow(int number, const EmuleRecord& record)
{
    ListRow r(rowNumber(number));
    r.set(QStringLiteral("mc"), record.name)
        .set(QStringLiteral("bz"), record.remark)
        .set(QStringLiteral("zzdz"), record.address);
    return r;
}

} // namespace lumorra
