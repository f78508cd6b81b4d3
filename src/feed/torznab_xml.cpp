#include "feed/torznab_xml.h"

#include "feed/feed_indexers.h"
#include "feed/torznab_request.h"
#include "text/rfc822_date.h"

#include <QXmlStreamWriter>

namespace lumorra::feed {

namespace {

constexpr char kTorznabNamespace[] = "http://torznab.com/schemas/2015/feed";

// Text a page wrote may hold characters XML 1.0 cannot carry at all.
QString xmlSafe(const QString& text)
{
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        const char16_t u = c.unicode();
        if (c.isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
            out += c;
            out += text[++i];
            continue;
        }
        if (c.isSurrogate() || u == 0xFFFE || u == 0xFFFF || (u < 0x20 && u != u'\t' && u != u'\n' && u != u'\r'))
            continue;
        out += c;
    }
    return out;
}

void element(QXmlStreamWriter& w, const char* name, const QString& text)
{
    w.writeTextElement(QLatin1String(name), xmlSafe(text));
}

void attr(QXmlStreamWriter& w, const char* name, const QString& value)
{
    w.writeEmptyElement(QLatin1String(kTorznabNamespace), QStringLiteral("attr"));
    w.writeAttribute(QStringLiteral("name"), QLatin1String(name));
    w.writeAttribute(QStringLiteral("value"), xmlSafe(value));
}

void writeCapsBody(QXmlStreamWriter& w)
{
    w.writeEmptyElement(QStringLiteral("server"));
    w.writeAttribute(QStringLiteral("title"), QStringLiteral("Lumorra"));
    w.writeEmptyElement(QStringLiteral("limits"));
    w.writeAttribute(QStringLiteral("default"), QString::number(kDefaultLimit));
    w.writeAttribute(QStringLiteral("max"), QString::number(kMaxLimit));
    w.writeStartElement(QStringLiteral("searching"));
    const struct {
        const char* name;
        bool available;
        const char* params;
    } searches[] = {{"search", true, "q"},           {"tv-search", true, "q,season,ep"},
                    {"movie-search", true, "q"},     {"music-search", false, "q"},
                    {"audio-search", false, "q"},    {"book-search", false, "q"}};
    for (const auto& s : searches) {
        w.writeEmptyElement(QLatin1String(s.name));
        w.writeAttribute(QStringLiteral("available"), s.available ? QStringLiteral("yes") : QStringLiteral("no"));
        w.writeAttribute(QStringLiteral("supportedParams"), QLatin1String(s.params));
    }
    w.writeEndElement();
    w.writeStartElement(QStringLiteral("categories"));
    const struct {
        int id;
        const char* name;
    } categories[] = {{kCategoryMovies, "Movies"}, {kCategoryTv, "TV"}, {kCategoryOther, "Other"}};
    for (const auto& c : categories) {
        w.writeEmptyElement(QStringLiteral("category"));
        w.writeAttribute(QStringLiteral("id"), QString::number(c.id));
        w.writeAttribute(QStringLiteral("name"), QLatin1String(c.name));
    }
    w.writeEndElement();
}

QByteArray document(const std::function<void(QXmlStreamWriter&)>& body)
{
    QByteArray out;
    QXmlStreamWriter w(&out);
    w.setAutoFormatting(true);
    w.writeStartDocument();
    body(w);
    w.writeEndDocument();
    return out;
}

} // namespace

QByteArray capsDocument()
{
    return document([](QXmlStreamWriter& w) {
        w.writeStartElement(QStringLiteral("caps"));
        writeCapsBody(w);
        w.writeEndElement();
    });
}

QByteArray indexersDocument(const QList<FeedIndexer>& indexers)
{
    return document([&indexers](QXmlStreamWriter& w) {
        w.writeStartElement(QStringLiteral("indexers"));
        for (const FeedIndexer& i : indexers) {
            w.writeStartElement(QStringLiteral("indexer"));
            w.writeAttribute(QStringLiteral("id"), i.id);
            w.writeAttribute(QStringLiteral("configured"), QStringLiteral("true"));
            element(w, "title", i.title);
            element(w, "description", i.title);
            element(w, "language", QStringLiteral("zh-CN"));
            element(w, "type", QStringLiteral("public"));
            w.writeStartElement(QStringLiteral("caps"));
            writeCapsBody(w);
            w.writeEndElement();
            w.writeEndElement();
        }
        w.writeEndElement();
    });
}

QByteArray resultsDocument(const FeedIndexer& indexer, const QString& self, const QList<FeedItem>& items,
                           int offset, int total)
{
    return document([&](QXmlStreamWriter& w) {
        w.writeNamespace(QStringLiteral("http://www.w3.org/2005/Atom"), QStringLiteral("atom"));
        w.writeNamespace(QLatin1String(kTorznabNamespace), QStringLiteral("torznab"));
        w.writeStartElement(QStringLiteral("rss"));
        w.writeAttribute(QStringLiteral("version"), QStringLiteral("2.0"));
        w.writeStartElement(QStringLiteral("channel"));
        w.writeEmptyElement(QStringLiteral("http://www.w3.org/2005/Atom"), QStringLiteral("link"));
        w.writeAttribute(QStringLiteral("href"), xmlSafe(self));
        w.writeAttribute(QStringLiteral("rel"), QStringLiteral("self"));
        w.writeAttribute(QStringLiteral("type"), QStringLiteral("application/rss+xml"));
        element(w, "title", indexer.title);
        element(w, "description", indexer.title);
        element(w, "language", QStringLiteral("zh-CN"));
        w.writeEmptyElement(QLatin1String(kTorznabNamespace), QStringLiteral("response"));
        w.writeAttribute(QStringLiteral("offset"), QString::number(offset));
        w.writeAttribute(QStringLiteral("total"), QString::number(total));
        for (const FeedItem& item : items) {
            w.writeStartElement(QStringLiteral("item"));
            element(w, "title", item.title);
            element(w, "guid", item.guid);
            w.writeStartElement(QStringLiteral("jackettindexer"));
            w.writeAttribute(QStringLiteral("id"), item.indexerId);
            w.writeCharacters(xmlSafe(item.indexerTitle));
            w.writeEndElement();
            element(w, "type", QStringLiteral("public"));
            if (!item.comments.isEmpty())
                element(w, "comments", item.comments);
            if (item.published.isValid())
                element(w, "pubDate", rfc822Date(item.published));
            element(w, "size", QString::number(item.size));
            element(w, "link", item.link);
            element(w, "category", QString::number(item.category));
            w.writeEmptyElement(QStringLiteral("enclosure"));
            w.writeAttribute(QStringLiteral("url"), xmlSafe(item.link));
            w.writeAttribute(QStringLiteral("length"), QString::number(item.size));
            w.writeAttribute(QStringLiteral("type"), QStringLiteral("application/x-bittorrent"));
            attr(w, "category", QString::number(item.category));
            if (!item.magnet.isEmpty())
                attr(w, "magneturl", item.magnet);
            if (!item.infohash.isEmpty())
                attr(w, "infohash", item.infohash);
            attr(w, "size", QString::number(item.size));
            w.writeEndElement();
        }
        w.writeEndElement();
        w.writeEndElement();
    });
}

QByteArray errorDocument(int code, const QString& description)
{
    return document([&](QXmlStreamWriter& w) {
        w.writeEmptyElement(QStringLiteral("error"));
        w.writeAttribute(QStringLiteral("code"), QString::number(code));
        w.writeAttribute(QStringLiteral("description"), xmlSafe(description));
    });
}

} // namespace lumorra::feed
