#pragma once
// One plain-text mail as it goes over SMTP: the headers a mail server and a
// mail reader expect, a UTF-8 subject as RFC 2047 encoded-words, and the
// UTF-8 body in base64 so that no line of it is too long for the wire.
#include <QByteArray>
#include <QDateTime>
#include <QString>

namespace lumorra {

struct MailMessage {
    QString from;           // sender address
    QString to;             // recipient address
    QString subject;
    QString body;           // line breaks as CR LF (a lone CR or LF becomes one)
    QDateTime date;
    QString messageId;      // without the angle brackets
};

// `text` as RFC 2047 "B" encoded-words of UTF-8, each at most 75 characters,
// folded (CR LF and a blank) between words. A character is never split
// between two words. `firstLineUsed` is how much of the first line the
// header's name already takes, so that no line is longer than 76.
QByteArray encodedHeaderWords(const QString& text, int firstLineUsed = 0);

// "Tue, 01 Jul 2014 09:05:00 +0800": English names whatever the locale.
QByteArray mailDate(const QDateTime& when);

// A fresh identifier, unique in practice, in the sender's domain.
QString newMessageId(const QString& from);

// The whole message: headers, a blank line, the body; every line ends in
// CR LF. Header values never carry a line break of their own.
QByteArray composeMail(const MailMessage& mail);

} // namespace lumorra
