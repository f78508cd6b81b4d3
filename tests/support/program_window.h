#pragma once
// The program's real main window for window tests: its own program
// directory (LUMORRA_HOME in a temporary directory) and every site role on
// the shared sample server.
#include <QTemporaryDir>
#include <QWidget>

#include <memory>

namespace lumorra::testing {

class ProgramWindow {
public:
    ProgramWindow();                      // built, not shown
    ~ProgramWindow();

    QWidget* get() const { return m_window.get(); }
    QWidget* operator->() const { return m_window.get(); }
    bool isValid() const { return m_home.isValid() && m_window; }

    // Shows the window at 1280x800; false when it was never exposed.
    bool show();
    // Waits until the version check has unlocked the pages.
    bool waitUntilUnlocked(int timeoutMs = 8000);
    // Deletes the window now (before the test undoes its hooks).
    void destroy() { m_window.reset(); }

private:
    QTemporaryDir m_home;
    std::unique_ptr<QWidget> m_window;
};

} // namespace lumorra::testing
