#pragma once
// "site list" and "site test": the site definitions in force, and one
// definition file tried on a page saved from its site.
#include "cli/cli_output.h"

#include <QString>

namespace lumorra::cli {

// Every site with its scheme, role, base, where its definition came from
// and the sources that read it; the problems of refused files on stderr.
// Exit 0, or 2 when a file was refused.
int runSiteList(OutputFormat format);

struct SiteTestOptions {
    QString file;    // the definition file
    QString page;    // a saved page of the site; empty: only the address
    QString keyword; // empty: the source's check word
    OutputFormat format = OutputFormat::Table;
};

// Reads the file as the program would (reporting file:line problems, exit
// 2); without a page prints the address its source would ask; with one,
// runs the source's own engine on that page served from loopback and
// prints its rows (each address asked on stderr). Exit 0 rows, 1 none, 2
// a refused file or a failed run. The network is never used.
int runSiteTest(const SiteTestOptions& options);

} // namespace lumorra::cli
