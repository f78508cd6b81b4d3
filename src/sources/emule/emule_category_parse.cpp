#include "sources/emule/emule_category_parse.h"

#include "sources/definitions/site_definitions.h"
#include "text/cut.h"

#include <QByteArray>

#include <array>
#include <limits>

namespace lumorra {

namespace {

const QString kSite = QStringLiteral("emule-index");

// The categories in listing order, as the definition's table names them.
constexpr std::array<const char*, 7> kCategoryNames = {"films", "music", "software", "books",
                                                       "education", "data", "cartoons"};

QString categoryName(EmuleCategory category)
{
    return QString::fromLatin1(kCategoryNames.at(std::size_t(category)));
}

// The path of `category` in the definition's categories table; empty when
// the table has no row for it.
QString categoryPath(const SiteDefinition& def, EmuleCategory category)
{
    const QString name = categoryName(category);
    for (const TableRow& row : def.table(QStringLiteral("categories")))
        if (row.value(QStringLiteral("category")).value(0) == name)
            return row.value(QStringLiteral("path")).value(0);
    return {};
}

} // namespace

const QList<EmuleCategoryInfo>& emuleCategories()
{
    // The buttons and lists are the window's. The paths are the site's, as
    // its definition had them when first asked, kept alive here for the
    // entries' labels; addresses always ask the definition itself.
    static const QList<QByteArray> paths = [] {
        QList<QByteArray> out;
        const SiteDefinition& def = siteDefinition(kSite);
        for (std::size_t i = 0; i < kCategoryNames.size(); ++i)
            out << categoryPath(def, EmuleCategory(i)).toUtf8();
        return out;
    }();
    static const QList<EmuleCategoryInfo> all = {
        {EmuleCategory::Films, "Command21", 0, paths.at(0).constData(), "ListView6"},
        {EmuleCategory::Music, "Command26", 0, paths.at(1).constData(), "ListView7"},
        {EmuleCategory::Software, "Command27", 0, paths.at(2).constData(), "ListView8"},
        {EmuleCategory::Books, "Command27", 3, paths.at(3).constData(), "ListView9"},
        {EmuleCategory::Education, "Command27", 6, paths.at(4).constData(), "ListView10"},
        {EmuleCategory::Data, "Command27", 9, paths.at(5).constData(), "ListView11"},
        {EmuleCategory::Cartoons, "Command41", 0, paths.at(6).constData(), "ListView12"},
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

QString categoryPageUrl(const SiteDefinition& def, const QString& base, EmuleCategory category, qint64 page)
{
    return def.url(QStringLiteral("category"), {{QStringLiteral("base"), base},
                                                {QStringLiteral("path"), categoryPath(def, category)},
                                                {QStringLiteral("page"), QString::number(page)}});
}

QString categoryPageUrl(const QString& base, EmuleCategory category, qint64 page)
{
    return categoryPageUrl(siteDefinition(kSite), base, category, page);
}

qint64 nextCategoryPage(EmuleCategory category, qint64 page)
{
    const qint64 top = category == EmuleCategory::Cartoons ? std::numeric_limits<qint16>::max()
                                                           : std::numeric_limits<qint64>::max();
    return page < top ? page + 1 : page;
}

QString categoryRecordMarker()
{
    return siteDefinition(kSite).record;
}

int countCategoryRecords(const SiteDefinition& def, const CutPage& page)
{
    return int(qMin<qsizetype>(page.count(def.record), std::numeric_limits<int>::max()));
}

int countCategoryRecords(const CutPage& page)
{
    return countCategoryRecords(siteDefinition(kSite), page);
}

std::optional<EmuleRecord> cutCategoryRecord(const SiteDefinition& def, const CutPage& page, int i,
                                             const QString& base)
{
    if (i < 1 || def.record.isEmpty() || !page.hasPiece(def.record, i))
        return std::nullopt;
    EmuleRecord r;
    r.address = def.field(QStringLiteral("zzdz")).cut(page, i, base);
    r.name = def.field(QStringLiteral("mc")).cut(page, i, base);
    r.remark = def.field(QStringLiteral("bz")).cut(page, i, base);
    return r;
}

std::optional<EmuleRecord> cutCategoryRecord(const CutPage& page, int i, const QString& base)
{
    return cutCategoryRecord(siteDefinition(kSite), page, i, base);
}

QList<EmuleRecord> cutCategoryRecords(const SiteDefinition& def, const CutPage& page, const QString& base,
                                      int limit)
{
    QList<EmuleRecord> out;
    const int n = qMin(limit, countCategoryRecords(def, page));
    out.reserve(qMax(n, 0));
    for (int i = 1; i <= n; ++i)
        if (std::optional<EmuleRecord> r = cutCategoryRecord(def, page, i, base))
            out.append(*r);
    return out;
}

QList<EmuleRecord> cutCategoryRecords(const CutPage& page, const QString& base, int limit)
{
    return cutCategoryRecords(siteDefinition(kSite), page, base, limit);
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
