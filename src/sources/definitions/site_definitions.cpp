#include "sources/definitions/site_definitions.h"

#include "core/program_dir.h"
#include "net/site_config.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>

// The shipped definitions are a resource of the base library.
static void initShippedDefinitions()
{
    Q_INIT_RESOURCE(site_definitions);
}

namespace lumorra {

namespace {

const QString kSuffix = QStringLiteral(".yaml");

QString shippedPath(const QString& name)
{
    return QStringLiteral(":/lumorra/sites/") + name + kSuffix;
}

SiteDefinitionPtr readShipped(const QString& name, QList<DefinitionProblem>* problems)
{
    DefinitionRead read = readDefinition(SiteDefinitions::shippedFile(name), name + kSuffix);
    if (!read.ok()) {
        // Only a broken build gets here; the tests read every shipped file.
        problems->append(read.problems);
        return nullptr;
    }
    read.definition->origin = QStringLiteral("shipped");
    return read.definition;
}

const SiteDefinition& emptyDefinition()
{
    static const SiteDefinition none;
    return none;
}

} // namespace

SiteDefinitions& SiteDefinitions::current()
{
    static SiteDefinitions defs;
    // Without an application there is no program directory to read a
    // user's folder from (a fuzz target, a bench before its app): shipped only.
    if (!defs.m_loaded)
        defs.load(QCoreApplication::instance() ? userFolder(programDir()) : QString());
    return defs;
}

QString SiteDefinitions::userFolder(const QString& programDir)
{
    return programDir + QStringLiteral("/sites");
}

QStringList SiteDefinitions::shippedNames()
{
    return {QStringLiteral("clouddisk"), QStringLiteral("torrent-index"), QStringLiteral("torrent-rss"),
        QStringLiteral("film-resource"), QStringLiteral("magnet-a"), QStringLiteral("magnet-b"),
        QStringLiteral("emule-index"), QStringLiteral("emule-search"), QStringLiteral("qvod-search"),
        QStringLiteral("torrent-tag"), QStringLiteral("bt-board"), QStringLiteral("film-list"),
        QStringLiteral("qvod-film")};
}

QByteArray SiteDefinitions::shippedFile(const QString& name)
{
    initShippedDefinitions();
    QFile f(shippedPath(name));
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void SiteDefinitions::load(const QString& folder)
{
    m_loaded = true;
    m_folder = folder;
    m_problems.clear();

    if (m_shipped.isEmpty())
        for (const QString& name : shippedNames())
            if (SiteDefinitionPtr d = readShipped(name, &m_problems))
                m_shipped << d;
    m_sites = m_shipped;
    if (folder.isEmpty())
        return;

    const QFileInfoList files = QDir(folder).entryInfoList(
        {QStringLiteral("*") + kSuffix}, QDir::Files | QDir::Readable, QDir::Name);
    for (const QFileInfo& info : files) {
        DefinitionRead read = readUserFile(info.filePath());
        if (read.ok())
            put(read.definition);
        else
            m_problems.append(read.problems);
    }
}

DefinitionRead SiteDefinitions::readUserFile(const QString& path) const
{
    DefinitionRead out;
    const QFileInfo info(path);
    const QString name = info.completeBaseName();
    QFile f(path);
    QByteArray bytes;
    if (!f.open(QIODevice::ReadOnly) || (bytes = f.read(kMostDefinitionBytes + 1)).isNull()) {
        out.problems.append({path, 0, QStringLiteral("cannot be read")});
        return out;
    }
    // An override must keep everything its shipped site has; a new site
    // everything the shipped site of its scheme has.
    const QStringList shipped = shippedNames();
    SiteDefinitionPtr model;
    for (const SiteDefinitionPtr& d : m_shipped)
        if (d->name == name)
            model = d;
    if (!model && shipped.contains(name))
        return readDefinition(bytes, path); // the shipped file itself is broken: say what the user's has
    if (!model) {
        DefinitionRead first = readDefinition(bytes, path);
        if (!first.ok())
            return first;
        for (const SiteDefinitionPtr& d : m_shipped)
            if (d->scheme == first.definition->scheme)
                model = d;
        if (!model) {
            out.problems.append({path, 0,
                QStringLiteral("scheme: '%1' is no shipped site's (%2)")
                    .arg(first.definition->scheme, shipped.join(QStringLiteral(", ")))});
            return out;
        }
    }
    out = readDefinition(bytes, path, model.get());
    if (!out.ok())
        return out;
    out.definition->origin = info.absoluteFilePath();
    if (out.definition->role.isEmpty())
        out.definition->role = model->role;
    else if (shipped.contains(name) && out.definition->role != model->role) {
        out.problems.append({path, 0,
            QStringLiteral("role: '%1', but this site is %2").arg(out.definition->role, model->role)});
        out.definition.reset();
    }
    return out;
}

void SiteDefinitions::put(SiteDefinitionPtr definition)
{
    for (SiteDefinitionPtr& d : m_sites) {
        if (d->name == definition->name) {
            d = std::move(definition);
            return;
        }
    }
    m_sites << std::move(definition);
}

SiteDefinitionPtr SiteDefinitions::find(const QString& name) const
{
    for (const SiteDefinitionPtr& d : m_sites)
        if (d->name == name)
            return d;
    return nullptr;
}

const SiteDefinition& SiteDefinitions::of(const QString& name) const
{
    const SiteDefinitionPtr d = find(name);
    return d ? *d : emptyDefinition();
}

QList<SiteDefinitionPtr> SiteDefinitions::all() const
{
    return m_sites;
}

QList<SiteDefinitionPtr> SiteDefinitions::added() const
{
    QList<SiteDefinitionPtr> out;
    const QStringList names = shippedNames();
    for (const SiteDefinitionPtr& d : m_sites)
        if (!names.contains(d->name))
            out << d;
    return out;
}

QString SiteDefinitions::baseOf(const SiteDefinition& definition)
{
    const SiteConfig& config = SiteConfig::current();
    if (definition.base.isEmpty())
        return config.base(definition.role);
    QHash<QString, QString> roles;
    for (const QString& r : SiteConfig::roles())
        roles.insert(r, config.base(r));
    QString base = fillTemplate(definition.base, roles);
    while (base.endsWith(u'/'))
        base.chop(1);
    return base;
}

} // namespace lumorra
