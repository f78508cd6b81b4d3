#include "text/size_bytes.h"

#include <cmath>

namespace lumorra {

qint64 sizeInBytes(const QString& text)
{
    QString t = text.trimmed();
    t.remove(u',');
    qsizetype end = 0;
    while (end < t.size() && (t[end].isDigit() || t[end] == u'.'))
        ++end;
    bool ok = false;
    const double number = t.left(end).toDouble(&ok);
    if (!ok || !std::isfinite(number) || number < 0)
        return -1;
    const QString unit = t.mid(end).trimmed().toUpper();
    int power = -1;
    static const char* const units[][4] = {{"B", "BYTES", "BYTE", "字节"}, {"K", "KB", "KIB", "K"},
                                           {"M", "MB", "MIB", "M"},       {"G", "GB", "GIB", "G"},
                                           {"T", "TB", "TIB", "T"},       {"P", "PB", "PIB", "P"}};
    if (unit.isEmpty())
        power = 0;
    for (int p = 0; p < 6 && power < 0; ++p)
        for (const char* u : units[p])
            if (unit == QString::fromUtf8(u))
                power = p;
    if (power < 0)
        return -1;
    const double bytes = std::round(number * std::pow(1024.0, power));
    if (bytes >= 9.2e18)
        return -1;
    return qint64(bytes);
}

} // namespace lumorra
