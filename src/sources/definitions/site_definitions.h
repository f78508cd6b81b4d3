#pragma once
// The site definitions in force: the shipped ones (built into the program),
// each replaced by a file of the same name in the user's definitions folder
// when that file reads cleanly, plus the folder's new sites of a shipped
// scheme. A file that does not read is reported and the shipped definition
// stays; nothing is ever half-loaded.
#include "sources/definitions/definition_reader.h"

#include <QList>
#include <QString>

namespace lumorra {

class SiteDefinitions {
public:
    // Process-wide; loaded on first use from programDir() + "/sites".
    static SiteDefinitions& current();
    // The folder a user's definitions are read from: `programDir` + "/sites".
    static QString userFolder(const QString& programDir);
    // Names of the shipped definitions, in the table's order.
    static QStringList shippedNames();
    // The text of a shipped definition file (for `site test`, the README).
    static QByteArray shippedFile(const QString& name);

    // Reads the shipped definitions and then `folder`'s *.yaml files (none
    // when it is empty or missing). Replaces what was in force.
    void load(const QString& folder);
    // Only the shipped definitions.
    void loadShipped() { load(QString()); }
    // Reads one user file as load() does: an override of the shipped site of
    // its name, else a new site of its scheme (which must be a shipped one).
    DefinitionRead readUserFile(const QString& path) const;
    // Puts `definition` in force in place of the one of its name (or adds it).
    void put(SiteDefinitionPtr definition);

    // The definition of `name`; the shipped one for a shipped name whose
    // file was refused; an empty definition (no fields) for an unknown name.
    const SiteDefinition& of(const QString& name) const;
    SiteDefinitionPtr find(const QString& name) const;
    // Every definition in force: the shipped names first, then new sites.
    QList<SiteDefinitionPtr> all() const;
    // The sites a user's folder added (a name no shipped site has).
    QList<SiteDefinitionPtr> added() const;
    // What was wrong with the files read, in file order.
    const QList<DefinitionProblem>& problems() const { return m_problems; }
    QString folder() const { return m_folder; }

    // The base address `definition` asks: its own base ({Role} filled in
    // from sites.ini) when it has one, else its role's base in sites.ini.
    static QString baseOf(const SiteDefinition& definition);

private:
    SiteDefinitions() = default;

    QList<SiteDefinitionPtr> m_sites;
    QList<SiteDefinitionPtr> m_shipped; // the models of overrides and new sites
    QList<DefinitionProblem> m_problems;
    QString m_folder;
    bool m_loaded = false;
};

// Shorthands for the engines and cutters of the shipped sites.
inline const SiteDefinition& siteDefinition(const QString& name)
{
    return SiteDefinitions::current().of(name);
}

} // namespace lumorra
