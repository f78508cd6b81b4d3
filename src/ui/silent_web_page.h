#pragma once
// A browser page in "silent" mode: the page's script dialogs and console
// messages never reach the user, the way an embedded browser showing
// third-party pages should behave (a page that alerts or confirms in a loop
// cannot lock the window). Every web view of the program uses it.
//
// Nor does a page hand a link of a scheme the browser does not know
// ("ed2k:", "smb:", "qvod:" …) to another program of the desktop: the
// program's own row actions do that, after their own check.
#include <QWebEnginePage>
#include <QWebEngineSettings>

namespace lumorra {

class SilentWebPage : public QWebEnginePage {
    Q_OBJECT
public:
    explicit SilentWebPage(QObject* parent = nullptr) : QWebEnginePage(parent) { refuseUnknownSchemes(); }
    SilentWebPage(QWebEngineProfile* profile, QObject* parent) : QWebEnginePage(profile, parent)
    {
        refuseUnknownSchemes();
    }

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

private:
    void refuseUnknownSchemes()
    {
        settings()->setUnknownUrlSchemePolicy(QWebEngineSettings::DisallowUnknownUrlSchemes);
    }
};

} // namespace lumorra
