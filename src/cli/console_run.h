#pragma once
// One command-line run: it gathers the rows a source's runner hands it,
// shows progress while the runner's requests come in, and ends the
// application with the run's exit status once the runner says it is done.
// The source's engine runs on this object's thread and calls finish(),
// fail() … through the runner when it ends.
#include "cli/cli_output.h"
#include "core/list_row.h"

#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>

#include <cstdio>

namespace lumorra::cli {

// Exit statuses.
inline constexpr int kExitRows = 0;          // rows were printed
inline constexpr int kExitNoRows = 1;        // the source answered, with no rows
inline constexpr int kExitFetchFailed = 2;   // a page did not arrive (reason on stderr)
inline constexpr int kExitUsage = 64;        // the command line cannot be run

class ConsoleRun : public QObject {
    Q_OBJECT
public:
    // `command` names the run in messages ("search torrent"); `columns` are
    // the keys printed; progress is drawn only when `progressOnStderr`.
    ConsoleRun(QString command, QStringList columns, OutputFormat format, bool progressOnStderr,
               std::FILE* out = stdout, std::FILE* err = stderr);

    void addRow(const ListRow& row) { m_rows.append(row); }
    void addRows(const QList<ListRow>& rows) { m_rows.append(rows); }
    const QList<ListRow>& rows() const { return m_rows; }

    // A line on stderr, always: a failure is never silent.
    void warn(const QString& line);
    // Work of many requests: `done` of `total`, `what` the last one. Drawn
    // as one bar line on a terminal; nothing otherwise.
    void progress(int done, int total, const QString& what);

    // Prints the rows and ends: status 0 with rows, 1 without.
    void finish();
    // The source failed (a page it depends on did not come): the reason
    // on stderr, status 2.
    void fail(const QString& reason);
    // Ends with `status` and prints nothing more.
    void end(int status);

    bool hasEnded() const { return m_ended; }
    int status() const { return m_status; }

private:
    void clearProgress();
    void writeErr(const QString& text);

    QString m_command;
    QStringList m_columns;
    OutputFormat m_format;
    bool m_progress;
    std::FILE* m_out;
    std::FILE* m_err;
    bool m_progressShown = false;
    bool m_ended = false;
    int m_status = 0;
    QList<ListRow> m_rows;
};

} // namespace lumorra::cli
