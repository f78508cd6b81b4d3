#pragma once
// Where the site addresses come from at start, shared by the window and the
// command line: sites.ini (the program directory's, or a named file), or –
// without one, or in demo mode – the bundled sample sites started on a free
// loopback port with every role pointed at them.
#include "sample_sites.h"

#include <QString>

#include <functional>
#include <memory>

namespace lumorra {

struct SiteSetup {
    bool demo = false;       // the sample sites even if sites.ini exists
    QString sitesFile;       // empty: <program dir>/sites.ini
    // Say "demo mode, sample sites at …" also when demo mode was asked for
    // (it is always said when there was no sites.ini to read).
    bool announceRequestedDemo = true;
};

// Puts the addresses in force (SiteConfig::current(), the fetch time-out).
// Problems of the file and the demo-mode notice go to `say`, one line each.
// The sample sites, when started, are handed to the caller, who keeps them
// running for the whole run. False when the sample sites cannot start.
bool setUpSites(const SiteSetup& setup, std::unique_ptr<SampleSites>* sample,
                const std::function<void(const QString&)>& say);

} // namespace lumorra
