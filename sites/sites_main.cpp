// lumorra-sites: the sample sites as a stand-alone server.
//   lumorra-sites [--port N]     (0 or no option: a free port)
// Prints the base URL on the first line, then one "Role=URL" line per role
// (ready to paste into the [sites] section of sites.ini), and serves until
// it receives SIGINT or SIGTERM.
#include "sample_sites.h"

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include <pthread.h>

static void usage()
{
    std::fprintf(stderr, "usage: lumorra-sites [--port N]\n");
}

int main(int argc, char** argv)
{
    int port = 0;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        std::string value;
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

    lumorra::SampleSites sites;
    if (!sites.start(port)) {
        std::fprintf(stderr, "lumorra-sites: cannot listen on 127.0.0.1:%d\n", port);
        return 1;
    }
    std::printf("%s\n", sites.baseUrl().c_str());
    for (const std::string& role : lumorra::SampleSites::roles())
        std::printf("%s=%s\n", role.c_str(), sites.roleUrl(role).c_str());
    std::fflush(stdout);

    int received = 0;
    sigwait(&stopSignals, &received);
    sites.stop();
    return 0;
}
