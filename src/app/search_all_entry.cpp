#include "app/search_all_entry.h"

#include "pages/everywhere/search_all_window.h"
#include "player/player_handlers.h"
#include "ui/navigation_bar.h"
#include "ui/search_all_box.h"

namespace lumorra {

SearchAllWindow* searchAllWindow(QWidget* form1)
{
    if (auto* window = form1->findChild<SearchAllWindow*>(QString(), Qt::FindDirectChildrenOnly))
        return window;
    auto* window = new SearchAllWindow(form1);
    // The player is installed with the window; by the first search it is there.
    QObject::connect(window, &SearchAllWindow::playRequested, form1, [form1](const QString& link) {
        PlayerHandlers* player = PlayerHandlers::of(form1);
        if (!player)
            return;
        // The player is on the main window's page: it comes to the front.
        form1->window()->raise();
        form1->window()->activateWindow();
        player->playPageAddress(link);
    });
    return window;
}

QWidget* installSearchAll(QWidget* form1, NavigationBar* bar)
{
    auto* entry = new SearchAllBox(bar);
    bar->setToolArea(entry);
    QObject::connect(entry, &SearchAllBox::searchRequested, form1, [form1](const QString& keyword) {
        SearchAllWindow* window = searchAllWindow(form1);
        window->show();
        window->raise();
        window->activateWindow();
        window->search(keyword);
    });
    return entry;
}

} // namespace lumorra
