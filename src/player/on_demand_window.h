#pragma once
// The on-demand window Form8 ("Tessaly云端播放"): a small browser window
// that shows the cloud on-demand service playing a link. Every on-demand
// entry of the program (the film and magnet menus, the on-demand tab, the BT
// film page) opens it through playOnDemand().
#include <QDialog>
#include <QString>

#include <functional>

class QWebEngineView;

namespace lumorra {

class OnDemandWindow : public QDialog {
    Q_OBJECT
public:
    explicit OnDemandWindow(QWidget* form1);

    QWebEngineView* browser() const { return m_browser; }
    // Navigates the browser to `url` and shows the window modally (input to
    // the other windows is blocked until it closes). Returns at once;
    // `afterClose`, when given, runs once the user has closed it.
    void openOn(const QString& url, std::function<void()> afterClose);

private:
    QWebEngineView* m_browser = nullptr;
    std::function<void()> m_afterClose;
};

// Opens Form8 over form1 on the on-demand address of `link` (the link is
// appended to the service's address unescaped). Returns at once.
void playOnDemand(QWidget* form1, const QString& link);
// As above; `afterClose` runs once the window has been closed.
void playOnDemand(QWidget* form1, const QString& link, std::function<void()> afterClose);

// Form8 of form1, or nullptr before its first use.
OnDemandWindow* findOnDemandWindow(QWidget* form1);

} // namespace lumorra
