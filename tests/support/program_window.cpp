#include "program_window.h"

#include "app/main_window_factory.h"
#include "net/site_config.h"
#include "test_server.h"

#include <QTabWidget>
#include <QTest>

namespace lumorra::testing {

ProgramWindow::ProgramWindow()
{
    qputenv("LUMORRA_HOME", m_home.path().toLocal8Bit());
    SiteConfig::current().pointAllAt(TestServer::shared().baseUrl());
    m_window.reset(createMainWindow());
}

ProgramWindow::~ProgramWindow() = default;

bool ProgramWindow::show()
{
    m_window->resize(1280, 800);
    m_window->show();
    return QTest::qWaitForWindowExposed(m_window.get());
}

bool ProgramWindow::waitUntilUnlocked(int timeoutMs)
{
    auto* pages = m_window->findChild<QTabWidget*>(QStringLiteral("SSTab1"));
    return pages && QTest::qWaitFor([pages] { return pages->isEnabled(); }, timeoutMs);
}

} // namespace lumorra::testing
