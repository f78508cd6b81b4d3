#pragma once
// Reads a site definition file (YAML). A file is taken whole or not at all:
// anything wrong – it does not parse, a key is unknown, a value has the
// wrong shape, or something its scheme needs is missing – is reported with
// the file, the line and what is wrong, and no definition comes back.
#include "sources/definitions/site_definition.h"

#include <QByteArray>
#include <QList>
#include <QString>

namespace lumorra {

struct DefinitionProblem {
    QString file;
    int line = 0; // 1-based; 0 when the file as a whole is meant
    QString what;

    // "torrent-index.yaml:12: fields: mc: unknown step 'uptoo'"
    QString text() const;
};

struct DefinitionRead {
    std::shared_ptr<SiteDefinition> definition; // null when there are problems
    QList<DefinitionProblem> problems;

    bool ok() const { return definition != nullptr; }
};

// The largest definition file read (a site's definition is a few KiB).
inline constexpr qsizetype kMostDefinitionBytes = 256 * 1024;

// Reads `bytes` as the definition file `fileName` (its stem names the site).
// With `model` – the shipped definition of the same scheme – every address,
// field, text and table the model has must be there too, and the file's
// scheme must be the model's.
DefinitionRead readDefinition(
    const QByteArray& bytes, const QString& fileName, const SiteDefinition* model = nullptr);

} // namespace lumorra
