#pragma once
// Every source and resolver the command line can run: the table of sources
// (sources/source_table.h) as verbs and names, each run by its own engine
// without the window's delays, plus the export of the cloud-disk search.
// A row of the table without an engine says plainly that it is not
// available instead of calling it unknown.
#include <QList>
#include <QString>
#include <QStringList>

#include "sources/source_table.h"

namespace lumorra {
struct SourceEntry;
}

namespace lumorra::cli {

using lumorra::NeedsAgreement;
using lumorra::Paged;
using lumorra::Services;

class ConsoleRun;

enum class Verb { Search, List, Resolve, Export };

QString verbName(Verb verb);              // "search", …
bool verbFromName(const QString& name, Verb* verb);

// What a runner is asked to do.
struct Request {
    QString keyword;        // search, export
    QString url;            // resolve
    QString file;           // export
    int page = 1;           // --page
    QList<int> services;    // cloud-disk boxes, in box order
    int variant = 0;        // the entry's own number (a category)
};

struct Source;
using Runner = void (*)(ConsoleRun& run, const Source& source, const Request& request);

struct Source {
    Verb verb;
    QString name;           // "torrent", "emule-films", …
    QString summary;        // one line for the help
    QString listName;       // the list whose columns the rows have
    QStringList columns;    // column keys when the rows are not a list's ("xh", "dz")
    int options = 0;
    int maxPage = 32767;    // with Paged: the highest page (board) number
    Runner run = nullptr;   // none: not available yet
    int variant = 0;
    const SourceEntry* entry = nullptr;  // its row of the table of sources
};

// The whole table, in help order.
const QList<Source>& sources();
const Source* findSource(Verb verb, const QString& name);
// The keys the rows of `source` are printed under, in column order.
QStringList columnsOf(const Source& source);
// key and caption of each column, for the help.
QList<std::pair<QString, QString>> columnCaptions(const Source& source);

} // namespace lumorra::cli
