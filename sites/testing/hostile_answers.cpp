#include "hostile_answers.h"

#include "net/page_fetcher.h"

#include <QByteArray>
#include <QString>

namespace lumorra {

namespace {

const char kServerErrorPage[] =
    "<!DOCTYPE html>\n<html><head><meta charset=\"utf-8\"><title>500 Internal Server Error</title>"
    "</head>\n<body><h1>500 Internal Server Error</h1><p>The server could not complete the request.</p>"
    "</body></html>\n";

const char kNotFoundPage[] =
    "<!DOCTYPE html>\n<html><head><meta charset=\"utf-8\"><title>404 Not Found</title></head>\n"
    "<body><h1>404 Not Found</h1><p>The requested page does not exist on this server.</p>"
    "</body></html>\n";

// Bytes no decoder accepts as they stand: stray continuation bytes, bytes
// that never occur in UTF-8 or GBK, an overlong slash, an encoded surrogate,
// a NUL, and a lead byte whose sequence breaks off.
const char kInvalidBytes[] = "\x80\xbf\xff\xfe\xc0\xaf\xed\xa0\x80\x00\xe4\xb8";
constexpr size_t kInvalidBytesSize = sizeof kInvalidBytes - 1;

bool isGbkLike(const QByteArray& charset)
{
    const QByteArray c = charset.toLower();
    return c.startsWith("gb") || c == "x-gbk" || c == "cp936" || c == "euc-cn";
}

// The same page as text, sent in a charset the answer does not declare:
// GBK bytes under a UTF-8 (or no) label, UTF-8 bytes under a GBK label.
Answer inOtherCharset(Answer a)
{
    const QByteArray type = QByteArray::fromStdString(a.contentType);
    const QString text = decodeBody(QByteArray::fromStdString(a.body), type);
    const std::string utf8 = text.toStdString();
    a.body = isGbkLike(charsetOf(type)) ? utf8 : encodeText(utf8, "GBK");
    return a;
}

// The page with invalid sequences in front, in the middle (before a tag, so
// that no marker is split on purpose) and a sequence cut off at the end.
Answer withInvalidBytes(Answer a)
{
    const std::string block(kInvalidBytes, kInvalidBytesSize);
    std::string& body = a.body;
    const size_t middle = body.find('<', body.size() / 2);
    if (middle != std::string::npos)
        body.insert(middle, block);
    body.insert(0, block);
    body += "\xe7\x94";
    return a;
}

} // namespace

const std::vector<Misbehaviour>& allMisbehaviours()
{
    static const std::vector<Misbehaviour> all = {
        Misbehaviour::EmptyBody,     Misbehaviour::NotFoundPage,      Misbehaviour::ServerErrorPage,
        Misbehaviour::DroppedConnection, Misbehaviour::Stall,         Misbehaviour::HugeBody,
        Misbehaviour::UndeclaredCharset, Misbehaviour::InvalidBytes,  Misbehaviour::RedirectLoop};
    return all;
}

std::string misbehaviourName(Misbehaviour m)
{
    switch (m) {
    case Misbehaviour::EmptyBody: return "empty-body";
    case Misbehaviour::NotFoundPage: return "404";
    case Misbehaviour::ServerErrorPage: return "500";
    case Misbehaviour::DroppedConnection: return "drop";
    case Misbehaviour::Stall: return "stall";
    case Misbehaviour::HugeBody: return "huge-body";
    case Misbehaviour::UndeclaredCharset: return "undeclared-charset";
    case Misbehaviour::InvalidBytes: return "invalid-bytes";
    case Misbehaviour::RedirectLoop: return "redirect-loop";
    }
    return "?";
}

bool misbehaviourFromName(const std::string& name, Misbehaviour& out)
{
    for (Misbehaviour m : allMisbehaviours())
        if (misbehaviourName(m) == name) {
            out = m;
            return true;
        }
    return false;
}

AnswerFilter misbehave(Misbehaviour m, int stallMs)
{
    switch (m) {
    case Misbehaviour::EmptyBody:
        return [](const Answer& normal, const std::string&) {
            return Answer::bytes({}, normal.contentType);
        };
    case Misbehaviour::NotFoundPage:
        return [](const Answer&, const std::string&) { return Answer::html(kNotFoundPage, 404); };
    case Misbehaviour::ServerErrorPage:
        return [](const Answer&, const std::string&) { return Answer::html(kServerErrorPage, 500); };
    case Misbehaviour::DroppedConnection:
        return [](const Answer&, const std::string&) {
            Answer a;
            a.drop = true;
            return a;
        };
    case Misbehaviour::Stall:
        return [stallMs](const Answer& normal, const std::string&) {
            Answer a = normal;
            a.delayMs = stallMs;
            return a;
        };
    case Misbehaviour::HugeBody:
        return [](const Answer& normal, const std::string&) {
            Answer a = Answer::bytes({}, normal.contentType);
            a.streamedBytes = kHugeBodyBytes;
            return a;
        };
    case Misbehaviour::UndeclaredCharset:
        return [](const Answer& normal, const std::string&) { return inOtherCharset(normal); };
    case Misbehaviour::InvalidBytes:
        return [](const Answer& normal, const std::string&) { return withInvalidBytes(normal); };
    case Misbehaviour::RedirectLoop:
        return [](const Answer&, const std::string& target) { return Answer::redirect(target); };
    }
    return {};
}

} // namespace lumorra
