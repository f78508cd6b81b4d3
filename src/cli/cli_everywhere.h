#pragma once
// The two commands over many sources at once: "search all", one keyword on
// every keyword source with the rows merged, and "check", one light request
// to every site. Both report each source (site) on its own stderr line.
#include "cli/cli_output.h"

#include <QList>
#include <QString>

#include <cstdio>

namespace lumorra {
struct SourceEntry;
}

namespace lumorra::cli {

// "torrent,rss" → those keyword sources, in table order; false (with the
// offending name in *bad) on a name that is not one.
bool parseSourceList(const QString& text, QList<const SourceEntry*>* out, QString* bad);

// Runs the search and the event loop until it ends; the exit status: 0 rows,
// 1 none found, 2 every source failed. Each source's line on `err` as it
// ends: "id<TAB>rows<TAB>ms<TAB>ok", or the reason in place of ok.
int runSearchAll(const QString& keyword, const QList<const SourceEntry*>& sources, OutputFormat format,
                 std::FILE* out = stdout, std::FILE* err = stderr);

// Checks every site; prints one row per role (role, base, source, state,
// rows, ms, reason). 0 when every checked site answered with rows, else 2.
int runSiteCheck(bool agreementAccepted, OutputFormat format, std::FILE* out = stdout, std::FILE* err = stderr);

} // namespace lumorra::cli
