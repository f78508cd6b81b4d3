#include "cli/console_run.h"

#include "sources/engine/source_engine.h"

#include <QCoreApplication>

namespace lumorra::cli {

ConsoleRun::ConsoleRun(QString command, QStringList columns, OutputFormat format, bool progressOnStderr,
                       std::FILE* out, std::FILE* err)
    : m_command(std::move(command)),
      m_columns(std::move(columns)),
      m_format(format),
      m_progress(progressOnStderr),
      m_out(out),
      m_err(err)
{
}

void ConsoleRun::writeErr(const QString& text)
{
    const QByteArray bytes = text.toUtf8();
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), m_err);
    std::fflush(m_err);
}

void ConsoleRun::clearProgress()
{
    if (!m_progressShown)
        return;
    writeErr(QStringLiteral("\r\x1b[K"));
    m_progressShown = false;
}

void ConsoleRun::warn(const QString& line)
{
    clearProgress();
    // Reasons carry addresses and names cut from pages.
    writeErr(QStringLiteral("lumorra-cli: ") + m_command + QStringLiteral(": ") + stderrText(line) + u'\n');
}

void ConsoleRun::progress(int done, int total, const QString& what)
{
    if (!m_progress || m_ended || total <= 0)
        return;
    constexpr int kWidth = 24;
    const int filled = int(qint64(kWidth) * qBound(0, done, total) / total);
    QString line = QStringLiteral("\r\x1b[K[") + QString(filled, u'#') + QString(kWidth - filled, u'-')
        + QStringLiteral("] %1/%2").arg(done).arg(total);
    if (!what.isEmpty())
        line += u' ' + stderrText(what);
    writeErr(line);
    m_progressShown = true;
}

void ConsoleRun::finish()
{
    if (m_ended)
        return;
    clearProgress();
    const QByteArray text = formatRows(m_columns, m_rows, m_format);
    std::fwrite(text.constData(), 1, size_t(text.size()), m_out);
    std::fflush(m_out);
    end(m_rows.isEmpty() ? kExitNoRows : kExitRows);
}

void ConsoleRun::fail(const QString& reason)
{
    if (m_ended)
        return;
    warn(reason);
    end(kExitFetchFailed);
}

void ConsoleRun::end(int status)
{
    if (m_ended)
        return;
    clearProgress();
    m_ended = true;
    m_status = status;
    // Whatever the source still has on the way is dropped.
    for (SourceEngine* engine : findChildren<SourceEngine*>())
        engine->cancel();
    QCoreApplication::exit(status);
}

} // namespace lumorra::cli
