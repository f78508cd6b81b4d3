#include "cli/cli_sources.h"

#include "cli/console_run.h"
#include "core/column_table.h"
#include "sources/engine/source_engine.h"
#include "sources/source_table.h"
#include "text/export_file.h"

#include <functional>

namespace lumorra::cli {

namespace {

SourceRequest engineRequest(const Request& request)
{
    SourceRequest r;
    r.keyword = request.keyword;
    r.page = QString::number(request.page);
    r.address = request.url;
    r.services = request.services;
    r.variant = request.variant;
    return r;
}

// The source's own engine, without the window's delays: its rows, its
// warnings on stderr, its progress, and its outcome as the exit status.
void runSourceEngine(ConsoleRun& run, const Source& source, const Request& request, std::function<void()> done)
{
    SourceEngine* engine = source.entry->createEngine(Pacing::immediate(), &run);
    QObject::connect(engine, &SourceEngine::rows, &run, [&run](const QList<ListRow>& rows) { run.addRows(rows); });
    QObject::connect(engine, &SourceEngine::problem, &run, [&run](const QString& text) { run.warn(text); });
    QObject::connect(engine, &SourceEngine::progress, &run,
                     [&run](int taken, int total) { run.progress(taken, total, QString()); });
    QObject::connect(engine, &SourceEngine::finished, &run,
                     [&run, done = std::move(done)](const SourceOutcome& outcome) {
        if (!outcome.completed() && !outcome.failed())
            return; // cancelled as the run ended
        if (outcome.failed())
            run.fail(outcome.address.isEmpty() ? outcome.reason
                                               : outcome.reason + QStringLiteral(" (") + outcome.address + u')');
        else if (done)
            done();
        else
            run.finish();
    });
    engine->start(engineRequest(request));
}

void runEngine(ConsoleRun& run, const Source& source, const Request& request)
{
    runSourceEngine(run, source, request, nullptr);
}

// The cloud-disk search written as the window's export writes it: every
// column of ListView1, in its order.
void runCloudDiskExport(ConsoleRun& run, const Source& source, const Request& request)
{
    const QString file = request.file;
    runSourceEngine(run, source, request, [&run, &source, file] {
        if (run.rows().isEmpty()) {
            run.warn(QStringLiteral("没有可导出的数据"));
            run.end(kExitNoRows);
            return;
        }
        const QStringList keys = columnsOf(source);
        QList<QStringList> lines;
        for (const ListRow& row : run.rows()) {
            QStringList cells;
            for (const QString& key : keys)
                cells << row.cell(key);
            lines << cells;
        }
        if (!writeExportFile(lines, file)) {
            run.fail(QStringLiteral("cannot write %1").arg(file));
            return;
        }
        run.end(kExitRows);
    });
}

Verb verbOf(SourceVerb verb)
{
    switch (verb) {
    case SourceVerb::Search: return Verb::Search;
    case SourceVerb::List: return Verb::List;
    case SourceVerb::Resolve: return Verb::Resolve;
    }
    return Verb::Search;
}

Source fromEntry(const SourceEntry& entry, Verb verb, Runner runner)
{
    Source s;
    s.verb = verb;
    s.name = entry.id;
    s.summary = entry.summary;
    s.listName = entry.listName;
    s.columns = entry.columns;
    s.options = entry.options;
    s.maxPage = entry.maxPage;
    s.variant = entry.variant;
    s.entry = &entry;
    s.run = entry.create ? runner : nullptr;
    return s;
}

QList<Source> buildTable()
{
    QList<Source> t;
    for (const SourceEntry& entry : sourceTable())
        t << fromEntry(entry, verbOf(entry.verb), &runEngine);
    if (const SourceEntry* cloud = findSourceEntry(SourceVerb::Search, QStringLiteral("clouddisk"))) {
        Source s = fromEntry(*cloud, Verb::Export, &runCloudDiskExport);
        s.summary = QStringLiteral("cloud-disk search written to FILE as the window's export (GB18030)");
        t << s;
    }
    return t;
}

} // namespace

QString verbName(Verb verb)
{
    switch (verb) {
    case Verb::Search: return QStringLiteral("search");
    case Verb::List: return QStringLiteral("list");
    case Verb::Resolve: return QStringLiteral("resolve");
    case Verb::Export: return QStringLiteral("export");
    }
    return {};
}

bool verbFromName(const QString& name, Verb* verb)
{
    for (Verb v : {Verb::Search, Verb::List, Verb::Resolve, Verb::Export}) {
        if (verbName(v) == name) {
            *verb = v;
            return true;
        }
    }
    return false;
}

const QList<Source>& sources()
{
    static const QList<Source> table = buildTable();
    return table;
}

const Source* findSource(Verb verb, const QString& name)
{
    for (const Source& s : sources())
        if (s.verb == verb && s.name == name)
            return &s;
    return nullptr;
}

QStringList columnsOf(const Source& source)
{
    return source.entry ? sourceColumns(*source.entry) : source.columns;
}

QList<std::pair<QString, QString>> columnCaptions(const Source& source)
{
    QList<std::pair<QString, QString>> out;
    if (source.columns.isEmpty()) {
        if (const ListLayout* layout = listLayout(source.listName))
            for (const ColumnLayout& c : layout->columns)
                out.append({c.key, c.caption});
        return out;
    }
    for (const QString& key : source.columns) {
        QString caption;
        if (key == QLatin1String("xh"))
            caption = QStringLiteral("序号");
        else if (key == QLatin1String("dz"))
            caption = QStringLiteral("链接");
        else if (key == QLatin1String("gx"))
            caption = QStringLiteral("更新时间");
        else if (key == QLatin1String("tzm"))
            caption = QStringLiteral("种子特征码");
        out.append({key, caption});
    }
    return out;
}

} // namespace lumorra::cli
