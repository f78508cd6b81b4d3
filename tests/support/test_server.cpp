#include "test_server.h"

#include <cstdio>
#include <cstdlib>

namespace lumorra::testing {

TestServer::TestServer()
{
    if (!m_sites.start(0)) {
        std::fprintf(stderr, "test server: cannot listen on a loopback port\n");
        std::abort();
    }
}

TestServer::~TestServer()
{
    m_sites.stop();
}

QString TestServer::baseUrl() const
{
    return QString::fromStdString(m_sites.baseUrl());
}

QString TestServer::url(const QString& path) const
{
    return baseUrl() + path;
}

QString TestServer::roleUrl(const QString& role) const
{
    return baseUrl() + QString::fromStdString(SampleSites::prefixFor(role.toStdString()));
}

TestServer& TestServer::shared()
{
    static TestServer server;
    return server;
}

} // namespace lumorra::testing
