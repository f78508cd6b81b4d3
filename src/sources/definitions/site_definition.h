#pragma once
// One site as data: the addresses it is asked at, how its pages are
// fetched and read, and how each field of a record is cut out of a page.
// The engines keep the flow (counting, paging, timers); everything that a
// site's page layout decides lives here, read from a definition file, so a
// changed page is fixed in that file and not in a build.
//
// A field is a chain of the cutting toolkit's moves, e.g. the name cell
//
//     - piece: '<td class="name">'   # piece i: the record's own
//     - upto: '</td>'
//     - erase: '<'
//
// cut out of record i's piece. {base} in a text stands for the site's base
// address, filled in once per page.
#include "text/cut.h"

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

#include <memory>

namespace lumorra {

struct CutStep {
    enum class Op {
        Piece,       // piece `n` at `text` (n == 0: the record's number)
        UpTo,        // up to the first character of `text`
        Before,      // before the first occurrence of `text`
        After,       // after the first occurrence of `text`
        Erase,       // every `text` removed
        Replace,     // every `text` replaced by `with`
        Prefix,      // `text` put in front
        Suffix,      // `text` put after
        Trim,        // blanks removed at both ends
        Preg,        // every match of the pattern `text` replaced by `with`
        BeforeIfAny, // before the first `text` when it occurs, else unchanged
    };
    Op op = Op::Piece;
    QString text;
    QString with;
    int n = 0;
    bool usesBase = false; // `text` holds {base}

    // `text` with {base} filled in. The last base is kept: a page's records
    // all ask with the same one, so the text is built once per page. Like a
    // CutPage, a definition is cut from one thread (the program's own).
    const QString& textFor(const QString& base) const;

private:
    mutable QString m_boundBase;
    mutable QString m_boundText;
};

// How one field is cut. The first step of a record's field is normally the
// record's own piece: when that piece does not exist the field is empty.
struct FieldCut {
    QList<CutStep> steps;

    bool isEmpty() const { return steps.isEmpty(); }
    // The field of record `i` (1-based) of `page`.
    QString cut(const CutPage& page, qsizetype i, const QString& base = QString()) const;
    // The field out of a text of its own (a fragment, a whole page): piece
    // steps with the record's number take piece `i` of that text.
    QString cutText(const Cut& text, qsizetype i = 1, const QString& base = QString()) const;
    // As cutText, but keeps the Cut so a caller can ask found().
    Cut apply(const Cut& text, qsizetype i, const QString& base) const;
    // The marker of the record's own piece (the first step's), if any.
    QString recordMarker() const;
};

// A row of a named table (the cloud-disk title rules, the eMule
// categories): each key holds one or more texts.
using TableRow = QHash<QString, QStringList>;

struct SiteDefinition {
    QString name;                              // the file's stem: "torrent-index"
    QString scheme;                            // the shipped definition whose engine it runs
    QString role;                              // the sites.ini role whose base it asks
    QString base;                              // its own base address, for a site sites.ini does not name
    QString caption;                           // a new site's short name for the search over every source
    QString fetch = QStringLiteral("GetBody"); // GetBody, GetBodyPlain or Transfer
    QString charset = QStringLiteral("utf-8"); // when the page's header names none
    QString origin;                            // where it was read from: "shipped" or a path
    QString record;                            // the record marker: one record per occurrence
    QHash<QString, QString> urls;
    QHash<QString, FieldCut> fields;
    QHash<QString, QString> texts;
    QHash<QString, QList<TableRow>> tables;

    bool isShipped() const { return origin == QLatin1String("shipped"); }
    // A named address template with {base}, {keyword}, {page} … filled in
    // from `values` (a name without a value stays as written).
    QString url(const QString& key, const QHash<QString, QString>& values) const;
    QString text(const QString& key) const { return texts.value(key); }
    const FieldCut& field(const QString& key) const;
    QList<TableRow> table(const QString& key) const { return tables.value(key); }
};

using SiteDefinitionPtr = std::shared_ptr<const SiteDefinition>;

struct FetchResult;
enum class FetchMode;

// How the definition's pages are asked for: GetBody with its
// If-Modified-Since header, GetBodyPlain and the transfer fetch without.
FetchMode fetchModeOf(const SiteDefinition& definition);
// `page` read by the definition's charset when the page's header names
// none (and the definition's is not UTF-8, the fetcher's own fallback).
FetchResult decodedFor(const SiteDefinition& definition, const FetchResult& page);

// {name} placeholders of `pattern` filled in from `values`, left to right in
// one pass (a value is never read for placeholders of its own).
QString fillTemplate(const QString& pattern, const QHash<QString, QString>& values);

} // namespace lumorra
