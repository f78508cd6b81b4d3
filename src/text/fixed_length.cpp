#include "text/fixed_length.h"

#include <QByteArray>
#include <QStringEncoder>

namespace lumorra {

int ansiDisplayWidth(QStringView text)
{
    bool ascii = true;
    for (QChar c : text) {
        if (c.unicode() >= 0x80) {
            ascii = false;
            break;
        }
    }
    if (ascii)
        return int(text.size());
    // GB18030 agrees with GBK byte for byte on everything GBK encodes, and
    // encodes everything else instead of dropping it to "?".
    QStringEncoder encoder("GB18030");
    if (!encoder.isValid())
        return int(text.size());
    const QByteArray bytes = encoder.encode(text);
    return int(bytes.size());
}

QString SetStringFixedLength(const QString& text, int width)
{
    qsizetype b = 0;
    qsizetype e = text.size();
    while (b < e && text[b] == u' ')
        ++b;
    while (e > b && text[e - 1] == u' ')
        --e;
    QString trimmed = text.mid(b, e - b);
    const int have = ansiDisplayWidth(trimmed);
    if (have > 0 && width > 0 && have < width)
        trimmed.append(QString(width - have, u' '));
    return trimmed;
}

} // namespace lumorra
