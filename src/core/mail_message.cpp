#include "core/mail_message.h"

#include <QRandomGenerator>

namespace lumorra {

namespace {

constexpr int kMaxLine = 76;
// "=?UTF-8?B?" + … + "?="
const QByteArray kWordStart = QByteArrayLiteral("=?UTF-8?B?");
const QByteArray kWordEnd = QByteArrayLiteral("?=");

qsizetype base64Length(qsizetype bytes)
{
    return (bytes + 2) / 3 * 4;
}

// An address goes into a header as it is; a control character (a line
// break above all) would start a header of its own, so none passes.
QByteArray headerSafe(const QString& text)
{
    QString out;
    out.reserve(text.size());
    for (QChar c : text)
        if (c.unicode() >= 0x20 && c.unicode() != 0x7f)
            out += c;
    return out.toUtf8();
}

QString crlfLines(const QString& text)
{
    QString out;
    out.reserve(text.size() + text.size() / 16);
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c == u'\r') {
            out += QStringLiteral("\r\n");
            if (i + 1 < text.size() && text[i + 1] == u'\n')
                ++i;
        } else if (c == u'\n') {
            out += QStringLiteral("\r\n");
        } else {
            out += c;
        }
    }
    return out;
}

QByteArray foldedBase64(const QByteArray& bytes)
{
    const QByteArray encoded = bytes.toBase64();
    QByteArray out;
    out.reserve(encoded.size() + encoded.size() / kMaxLine * 2 + 2);
    for (qsizetype at = 0; at < encoded.size(); at += kMaxLine) {
        out += encoded.mid(at, kMaxLine);
        out += "\r\n";
    }
    return out;
}

} // namespace

QByteArray encodedHeaderWords(const QString& text, int firstLineUsed)
{
    const qsizetype frame = kWordStart.size() + kWordEnd.size();
    QByteArray out;
    QByteArray pending;              // UTF-8 of the word being filled
    qsizetype room = kMaxLine - firstLineUsed - frame;   // base64 characters
    auto closeWord = [&] {
        if (!out.isEmpty())
            out += "\r\n ";
        out += kWordStart + pending.toBase64() + kWordEnd;
        pending.clear();
        room = kMaxLine - 1 - frame;   // a folded line starts with a blank
    };
    for (qsizetype i = 0; i < text.size();) {
        // One character: a surrogate pair stays together.
        qsizetype units = 1;
        if (text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate())
            units = 2;
        const QByteArray bytes = text.mid(i, units).toUtf8();
        if (!pending.isEmpty() && base64Length(pending.size() + bytes.size()) > room)
            closeWord();
        pending += bytes;
        i += units;
    }
    if (!pending.isEmpty() || out.isEmpty())
        closeWord();
    return out;
}

QByteArray mailDate(const QDateTime& when)
{
    static const char* const days[] = {"Mon", "Tue", "Wed", "Thu", "Fri", "Sat", "Sun"};
    static const char* const months[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                         "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    const QDate d = when.date();
    const QTime t = when.time();
    const int offsetMinutes = when.offsetFromUtc() / 60;
    const int absMinutes = offsetMinutes < 0 ? -offsetMinutes : offsetMinutes;
    return QStringLiteral("%1, %2 %3 %4 %5:%6:%7 %8%9%10")
        .arg(QLatin1String(days[d.dayOfWeek() - 1]))
        .arg(d.day(), 2, 10, QLatin1Char('0'))
        .arg(QLatin1String(months[d.month() - 1]))
        .arg(d.year(), 4, 10, QLatin1Char('0'))
        .arg(t.hour(), 2, 10, QLatin1Char('0'))
        .arg(t.minute(), 2, 10, QLatin1Char('0'))
        .arg(t.second(), 2, 10, QLatin1Char('0'))
        .arg(QChar(offsetMinutes < 0 ? u'-' : u'+'))
        .arg(absMinutes / 60, 2, 10, QLatin1Char('0'))
        .arg(absMinutes % 60, 2, 10, QLatin1Char('0'))
        .toLatin1();
}

QString newMessageId(const QString& from)
{
    QString domain = from.mid(from.lastIndexOf(u'@') + 1);
    if (domain.isEmpty())
        domain = QStringLiteral("localhost");
    const quint64 random = QRandomGenerator::global()->generate64();
    return QStringLiteral("%1.%2@%3")
        .arg(QDateTime::currentMSecsSinceEpoch())
        .arg(random, 16, 16, QLatin1Char('0'))
        .arg(domain);
}

QByteArray composeMail(const MailMessage& mail)
{
    QByteArray out;
    out += "Date: " + mailDate(mail.date) + "\r\n";
    out += "From: " + headerSafe(mail.from) + "\r\n";
    out += "To: " + headerSafe(mail.to) + "\r\n";
    // Encoded-words carry the subject, so whatever it holds stays inside
    // this one header.
    out += "Subject: " + encodedHeaderWords(mail.subject, int(qstrlen("Subject: "))) + "\r\n";
    out += "Message-ID: <" + headerSafe(mail.messageId) + ">\r\n";
    out += "MIME-Version: 1.0\r\n";
    out += "Content-Type: text/plain; charset=UTF-8\r\n";
    out += "Content-Transfer-Encoding: base64\r\n";
    out += "\r\n";
    out += foldedBase64(crlfLines(mail.body).toUtf8());
    return out;
}

} // namespace lumorra
