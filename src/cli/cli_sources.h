#pragma once
// Every source and resolver the command line can run, one table entry each:
// the verb and name it is called by, the list whose columns its rows have,
// its options, and its runner. A source that has not been built yet has an
// entry without a runner, so the command says plainly that it is not
// available instead of calling it unknown.
//
// Adding a source: write its runner below in cli_sources.cpp (fetch with a
// continuation on the ConsoleRun, cut with the source's own *_parse
// functions, hand the rows over as the window's listRow() gives them) and
// give its entry that runner.
#include <QList>
#include <QString>
#include <QStringList>

namespace lumorra::cli {

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

using Runner = void (*)(ConsoleRun& run, const Request& request);

enum SourceOption {
    NoOptions = 0,
    Paged = 1,          // takes --page N
    Services = 2,       // takes --services LIST / --all (cloud disk)
    NeedsAgreement = 4, // an online-video source: the usage agreement first
};

struct Source {
    Verb verb;
    QString name;           // "torrent", "emule-films", …
    QString summary;        // one line for the help
    QString listName;       // the list whose columns the rows have
    QStringList columns;    // column keys when the rows are not a list's ("xh", "dz")
    int options = NoOptions;
    int maxPage = 32767;    // with Paged: the highest page (board) number
    Runner run = nullptr;   // none: not available yet
    int variant = 0;
};

// The whole table, in help order.
const QList<Source>& sources();
const Source* findSource(Verb verb, const QString& name);
// The keys the rows of `source` are printed under, in column order.
QStringList columnsOf(const Source& source);
// key and caption of each column, for the help.
QList<std::pair<QString, QString>> columnCaptions(const Source& source);

} // namespace lumorra::cli
