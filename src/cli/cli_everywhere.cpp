#include "cli/cli_everywhere.h"

#include "cli/console_run.h"
#include "sources/everywhere/search_everywhere.h"
#include "sources/everywhere/site_check.h"
#include "sources/source_table.h"

#include <QCoreApplication>

namespace lumorra::cli {

namespace {

QString sourceLine(const SourceRun& run)
{
    const QString verdict = run.state == SourceRun::State::Failed ? stderrText(run.reason) : QStringLiteral("ok");
    return QStringLiteral("%1\t%2\t%3\t%4\n").arg(run.source->id).arg(run.rows).arg(run.ms).arg(verdict);
}

} // namespace

static int printCheck(const SiteCheck& check, OutputFormat format, std::FILE* out, std::FILE* err);

bool parseSourceList(const QString& text, QList<const SourceEntry*>* out, QString* bad)
{
    const QList<const SourceEntry*> all = SearchEverywhere::keywordSources(true);
    QList<const SourceEntry*> chosen;
    for (const QString& part : text.split(u',')) {
        const QString id = part.trimmed();
        const auto it = std::find_if(all.begin(), all.end(), [&id](const SourceEntry* s) { return s->id == id; });
        if (it == all.end()) {
            *bad = id;
            return false;
        }
        if (!chosen.contains(*it))
            chosen << *it;
    }
    // Table order, as the source column names them.
    out->clear();
    for (const SourceEntry* s : all)
        if (chosen.contains(s))
            *out << s;
    return true;
}

int runSearchAll(const QString& keyword, const QList<const SourceEntry*>& sources, OutputFormat format,
                 std::FILE* out, std::FILE* err)
{
    SearchEverywhere search;
    QObject::connect(&search, &SearchEverywhere::sourceChanged, &search, [&search, err](int i) {
        const SourceRun& run = search.sourceRuns().at(i);
        if (run.state != SourceRun::State::Searching)
            writeText(err, sourceLine(run));
    });
    // The rows once every source has ended; the status ends the program's loop.
    QObject::connect(&search, &SearchEverywhere::finished, &search, [&search, format, out] {
        const QList<ListRow> rows = search.results().listRows();
        writeText(out, formatRows(MergedResults::columns(), rows, format));
        const bool allFailed = search.countIn(SourceRun::State::Failed) == search.sourceRuns().size();
        QCoreApplication::exit(!rows.isEmpty() ? kExitRows : allFailed ? kExitFetchFailed : kExitNoRows);
    }, Qt::QueuedConnection);
    search.start(keyword, sources);
    return QCoreApplication::exec();
}

int runSiteCheck(bool agreementAccepted, OutputFormat format, std::FILE* out, std::FILE* err)
{
    SiteCheck check;
    QObject::connect(&check, &SiteCheck::finished, &check,
                     [&check, format, out, err] { QCoreApplication::exit(printCheck(check, format, out, err)); },
                     Qt::QueuedConnection);
    check.start(agreementAccepted);
    return QCoreApplication::exec();
}

static int printCheck(const SiteCheck& check, OutputFormat format, std::FILE* out, std::FILE* err)
{
    static const QStringList keys{QStringLiteral("role"), QStringLiteral("base"), QStringLiteral("source"),
                                  QStringLiteral("state"), QStringLiteral("rows"), QStringLiteral("ms"),
                                  QStringLiteral("reason")};
    QList<ListRow> rows;
    for (const SiteCheckLine& line : check.lines()) {
        ListRow row;
        row.set(keys[0], line.role)
            .set(keys[1], line.base)
            .set(keys[2], line.source ? line.source->id : QString())
            .set(keys[3], siteCheckStateName(line.state))
            .set(keys[4], line.checked() ? QString::number(line.rows) : QString())
            .set(keys[5], line.checked() ? QString::number(line.ms) : QString())
            .set(keys[6], line.reason);
        rows << row;
        if (line.checked() && line.state != SiteCheckLine::State::Answered)
            writeText(err, QStringLiteral("lumorra-cli: check: %1: %2\n")
                           .arg(line.role, stderrText(line.reason.isEmpty() ? siteCheckStateName(line.state)
                                                                             : line.reason)));
    }
    writeText(out, formatRows(keys, rows, format));
    return check.allAnswered() ? kExitRows : kExitFetchFailed;
}

} // namespace lumorra::cli
