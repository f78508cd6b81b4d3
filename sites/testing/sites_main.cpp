// lumorra-sites: the sample sites as a stand-alone server.
//   lumorra-sites [--port N] [--misbehave NAME[=PREFIX]]
// --port 0 or no option: a free port. --misbehave stages one of the hostile
// answers of hostile_answers.h (empty-body, 404, 500, drop, stall, huge-body,
// undeclared-charset, invalid-bytes, redirect-loop) for every path under
// PREFIX ("/" when none is given); it may be repeated.
// Prints the base URL on the first line, then one "Role=URL" line per role
// (ready to paste into the [sites] section of sites.ini), and serves until
// it receives SIGINT or SIGTERM.
#include "hostile_answers.h"
#include "sample_sites.h"

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include <pthread.h>

static void usage()
{
    std::fprintf(stderr, "usage: lumorra-sites [--port N] [--misbehave NAME[=PREFIX]]\n");
}

int main(int argc, char** argv)
{
    int port = 0;
    std::vector<std::pair<std::string, lumorra::Misbehaviour>> staged;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        std::string value;
        if (arg == "--misbehave" && i + 1 < argc) {
            std::string name = argv[++i];
            std::string prefix = "/";
            const size_t eq = name.find('=');
            if (eq != std::string::npos) {
                prefix = name.substr(eq + 1);
                name.resize(eq);
            }
            lumorra::Misbehaviour m;
            if (!lumorra::misbehaviourFromName(name, m)) {
                std::fprintf(stderr, "lumorra-sites: unknown misbehaviour '%s'\n", name.c_str());
                return 2;
            }
            staged.emplace_back(prefix, m);
            continue;
        }
        if (arg == "--port" && i + 1 < argc)
            value = argv[++i];
        else if (arg.rfind("--port=", 0) == 0)
            value = arg.substr(7);
        else if (arg == "--help" || arg == "-h") {
            usage();
            return 0;
        } else {
            usage();
            return 2;
        }
        char* end = nullptr;
        const long p = std::strtol(value.c_str(), &end, 10);
        if (value.empty() || *end != '\0' || p < 0 || p > 65535) {
            std::fprintf(stderr, "lumorra-sites: invalid port '%s'\n", value.c_str());
            return 2;
        }
        port = int(p);
    }

    // Block the stop signals before any thread starts, so that only the
    // sigwait() below receives them.
    sigset_t stopSignals;
    sigemptyset(&stopSignals);
    sigaddset(&stopSignals, SIGINT);
    sigaddset(&stopSignals, SIGTERM);
    pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);

    lumorra::ProgrammableSites sites;
    sites.setRequestLogLimit(0); // a long session: nobody reads it
    if (!sites.start(port)) {
        std::fprintf(stderr, "lumorra-sites: cannot listen on 127.0.0.1:%d\n", port);
        return 1;
    }
    for (const auto& [prefix, m] : staged)
        sites.programUnder(prefix, lumorra::misbehave(m));
    std::printf("%s\n", sites.baseUrl().c_str());
    for (const std::string& role : lumorra::SampleSites::roles())
        std::printf("%s=%s\n", role.c_str(), sites.roleUrl(role).c_str());
    std::fflush(stdout);

    int received = 0;
    sigwait(&stopSignals, &received);
    sites.stop();
    return 0;
}
