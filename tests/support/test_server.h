#pragma once
// A sample-sites server for tests: started on a free loopback port, stopped
// when the object goes. Tests program answers and read the request log
// through sites().
#include "programmable_sites.h"

#include <QString>

namespace lumorra::testing {

class TestServer {
public:
    TestServer();                        // starts at once; aborts the test run if it cannot
    ~TestServer();
    TestServer(const TestServer&) = delete;
    TestServer& operator=(const TestServer&) = delete;

    ProgrammableSites& sites() { return m_sites; }
    int port() const { return m_sites.port(); }
    QString baseUrl() const;                       // "http://127.0.0.1:PORT"
    QString url(const QString& path) const;        // baseUrl() + path
    QString roleUrl(const QString& role) const;    // baseUrl() + the role's prefix

    // One server shared by every test of the process, started on first use.
    static TestServer& shared();

private:
    ProgrammableSites m_sites;
};

} // namespace lumorra::testing
