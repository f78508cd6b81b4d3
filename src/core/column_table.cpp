#include "core/column_table.h"

#include <QHash>
#include <cmath>

namespace lumorra {

namespace {

ColumnLayout col(const char* key, const char* caption, int width, bool centred = false)
{
    return ColumnLayout{QString::fromLatin1(key), QString::fromUtf8(caption), width, centred};
}

// The lists of the eMule categories share one shape; only the caption of
// the address column changes.
QVector<ColumnLayout> emuleCategory(const char* addressCaption)
{
    return {col("xh", "序号", 47), col("mc", "名称", 267), col("bz", "备注信息", 200),
            col("zzdz", addressCaption, 333)};
}

QVector<ListLayout> buildTable()
{
    // Address columns that the window hides at start-up are given width 0
    // here directly: the rows keep the links the row actions read, the user
    // never sees them.
    QVector<ListLayout> t;
    t.push_back({"ListView1",
                 {col("xh", "网盘类型", 133), col("mc", "名称", 333), col("dz", "地址", 453)},
                 "menu"});
    t.push_back({"ListView2",
                 {col("xh", "序号", 47), col("mc", "名称", 333), col("dx", "大小", 96),
                  col("rq", "日期", 96), col("xzdz", "种子地址", 0), col("fhdz", "磁力链接", 0)},
                 "fhcd"});
    t.push_back({"ListView3",
                 {col("xh", "序号", 47), col("mc", "名称（双击列表即可获取播放文件信息）", 467),
                  col("dz", "地址", 0)},
                 ""});
    t.push_back({"ListView4",
                 {col("xh", "序号", 47), col("mc", "名称", 333), col("dx", "大小", 96),
                  col("rq", "日期", 96), col("zzdz", "种子地址", 0)},
                 "btcd"});
    t.push_back({"ListView5",
                 {col("xh", "序号", 47), col("mc", "名称（双击列表可解析出种子地址）", 333),
                  col("zzdz", "电影地址", 467)},
                 "filmmenu"});
    t.push_back({"ListView6", emuleCategory("电影地址"), "jdkc"});
    t.push_back({"ListView7", emuleCategory("音乐地址"), "yymenu"});
    t.push_back({"ListView8", emuleCategory("软件地址"), "rjmenu"});
    t.push_back({"ListView9", emuleCategory("书籍地址"), "tsmenu"});
    t.push_back({"ListView10", emuleCategory("资源地址"), "jymenu"});
    t.push_back({"ListView11", emuleCategory("资源地址"), "zhmenu"});
    t.push_back({"ListView12", emuleCategory("动漫地址"), "dmmenu"});
    t.push_back({"ListView13",
                 {col("xh", "序号", 47), col("mc", "名称(双击列表解析文件地址)", 300),
                  col("gx", "更新时间", 133), col("bz", "地区分类", 100, true),
                  col("zzdz", "影视地址", 0)},
                 ""});
    t.push_back({"ListView14",
                 {col("xh", "序号", 47), col("mc", "名称（双击列表即可获取播放文件信息）", 333),
                  col("lmfl", "栏目分类", 96), col("dqfl", "地区分类", 96),
                  col("dz", "地址(双击列表解析获取快播文件地址)", 0)},
                 ""});
    t.push_back({"ListView15",
                 {col("xh", "序号", 47), col("mc", "名称", 300), col("bz", "备注信息", 200),
                  col("zzdz", "资源地址", 333)},
                 "dvzycd"});
    t.push_back({"ListView16",
                 {col("xh", "序号", 47), col("mc", "名称", 500), col("dz", "地址", 0)},
                 ""});
    t.push_back({"ListView17",
                 {col("xh", "序号", 47), col("mc", "名称(双击列表打开下载地址)", 500),
                  col("fl", "分类", 80, true), col("dz", "地址", 0)},
                 ""});
    t.push_back({"ListView18",
                 {col("xh", "序号", 47), col("mc", "名称", 300), col("dz", "地址", 0),
                  col("dx", "大小", 133), col("fl", "分类", 133)},
                 ""});
    t.push_back({"ListView19",
                 {col("xh", "序号", 47), col("mc", "名称", 200), col("fb", "发布时间", 133),
                  col("dx", "文件大小", 133), col("cl", "磁力链接", 400)},
                 "ydbmenu"});
    t.push_back({"ListView20",
                 {col("xh", "序号", 47), col("mc", "名称（双击列表即可获取播放文件信息）", 533),
                  col("dx", "文件大小", 96), col("dz", "文件地址", 0)},
                 ""});
    return t;
}

} // namespace

const QVector<ListLayout>& columnTable()
{
    static const QVector<ListLayout> table = buildTable();
    return table;
}

const ListLayout* listLayout(const QString& listName)
{
    static const QHash<QString, int> byName = [] {
        QHash<QString, int> h;
        const auto& t = columnTable();
        for (int i = 0; i < t.size(); ++i)
            h.insert(t[i].name, i);
        return h;
    }();
    const auto it = byName.constFind(listName);
    return it == byName.constEnd() ? nullptr : &columnTable()[*it];
}

int columnIndex(const ListLayout& layout, const QString& key)
{
    for (int i = 0; i < layout.columns.size(); ++i)
        if (layout.columns[i].key == key)
            return i;
    return -1;
}

int scaledColumnWidth(int width96, qreal logicalDpi)
{
    if (width96 <= 0)
        return 0;
    if (logicalDpi <= 0)
        logicalDpi = 96;
    return std::max(1, int(std::lround(width96 * logicalDpi / 96.0)));
}

} // namespace lumorra
