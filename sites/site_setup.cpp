#include "site_setup.h"

#include "net/page_fetcher.h"
#include "net/site_config.h"
#include "core/program_dir.h"

#include <QFileInfo>
#include <QStringList>

namespace lumorra {

bool setUpSites(const SiteSetup& setup, std::unique_ptr<SampleSites>* sample,
                const std::function<void(const QString&)>& say)
{
    SiteConfig config;
    bool loaded = false;
    if (!setup.demo) {
        const QString path = setup.sitesFile.isEmpty() ? programDir() + QStringLiteral("/sites.ini")
                                                       : setup.sitesFile;
        QStringList problems;
        loaded = SiteConfig::loadFile(path, &config, &problems);
        for (const QString& p : problems)
            say(QStringLiteral("sites.ini: ") + p);
        if (!loaded && !setup.sitesFile.isEmpty() && !QFileInfo::exists(path))
            say(QStringLiteral("sites.ini: %1 does not exist").arg(path));
        if (loaded) {
            const QStringList unset = config.unsetRoles();
            if (!unset.isEmpty())
                say(QStringLiteral("sites.ini: no base URL for %1").arg(unset.join(QStringLiteral(", "))));
        }
    }

    if (!loaded) {
        auto sites = std::make_unique<SampleSites>();
        if (!sites->start(0)) {
            say(QStringLiteral("cannot start the sample sites on a loopback port"));
            return false;
        }
        const QString url = QString::fromStdString(sites->baseUrl());
        config.pointAllAt(url);
        if (!setup.demo || setup.announceRequestedDemo)
            say(QStringLiteral("demo mode, sample sites at %1").arg(url));
        *sample = std::move(sites);
    }

    SiteConfig::current() = config;
    PageFetcher::instance().setTimeoutSeconds(config.fetchTimeoutSeconds());
    return true;
}

} // namespace lumorra
