#pragma once
// Sample sites for the benchmarks of many sources at once: one server per
// role (each its own host:port, so each has its own six connections, as
// separate sites do), each answering after its own delay.
#include "net/site_config.h"
#include "programmable_sites.h"

#include <QStringList>

#include <cstdio>
#include <memory>
#include <vector>

namespace lumorra::bench {

class DelayedSites {
public:
    // Role i answers after baseDelayMs + stepMs × i. False when a server
    // cannot start.
    bool start(const QStringList& roles, int baseDelayMs, int stepMs)
    {
        for (int i = 0; i < roles.size(); ++i) {
            auto server = std::make_unique<ProgrammableSites>();
            if (!server->start(0))
                return false;
            const int delay = baseDelayMs + stepMs * i;
            server->programUnder("/", [delay](const Answer& normal, const std::string&) {
                Answer a = normal;
                a.delayMs = delay;
                return a;
            });
            SiteConfig::current().setBase(roles[i], QString::fromStdString(server->roleUrl(roles[i].toStdString())));
            std::printf("%-18s answers after %d ms\n", qPrintable(roles[i]), delay);
            m_servers.push_back(std::move(server));
        }
        return true;
    }
    ~DelayedSites()
    {
        for (auto& s : m_servers)
            s->stop();
    }

private:
    std::vector<std::unique_ptr<ProgrammableSites>> m_servers;
};

} // namespace lumorra::bench
