#include "text/export_file.h"

#include "text/fixed_length.h"

#include <QSaveFile>
#include <QStringEncoder>

namespace lumorra {

bool writeExportFile(const QList<QStringList>& rows, const QString& path)
{
    if (rows.isEmpty() || path.isEmpty())
        return false;

    QStringEncoder encoder("GB18030");
    if (!encoder.isValid())
        return false;

    QSaveFile file(path);
    // Never fall back to writing the target in place: a failure must not
    // leave a half-written export behind.
    file.setDirectWriteFallback(false);
    if (!file.open(QIODevice::WriteOnly))
        return false;

    QString line;
    for (const QStringList& cells : rows) {
        line.clear();
        for (qsizetype c = 0; c < cells.size(); ++c) {
            line += c == 0 ? SetStringFixedLength(cells[c], 8) : cells[c];
            if (c + 1 < cells.size())
                line += QLatin1String("   ");
        }
        line += QLatin1String("\r\n");
        const QByteArray bytes = encoder.encode(line);
        if (file.write(bytes) != bytes.size()) {
            file.cancelWriting();
            return false;
        }
    }
    return file.commit();
}

} // namespace lumorra
