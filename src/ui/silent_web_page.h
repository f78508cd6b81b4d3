#pragma once
// A browser page in "silent" mode: the page's script dialogs and console
// messages never reach the user, the way an embedded browser showing
// third-party pages should behave.
#include <QWebEnginePage>

namespace lumorra {

class SilentWebPage : public QWebEnginePage {
    Q_OBJECT
public:
    using QWebEnginePage::QWebEnginePage;

protected:
    void javaScriptAlert(const QUrl&, const QString&) override {}
    bool javaScriptConfirm(const QUrl&, const QString&) override { return false; }
    bool javaScriptPrompt(const QUrl&, const QString&, const QString&, QString*) override
    {
        return false;
    }
    void javaScriptConsoleMessage(JavaScriptConsoleMessageLevel, const QString&, int,
                                  const QString&) override
    {
    }
};

} // namespace lumorra
