#include "player/install_player.h"

#include "player/forum_address_window.h"
#include "player/live_channels.h"
#include "player/on_demand_handlers.h"
#include "player/player_handlers.h"
#include "pages/video/online_video_handlers.h"

#include <QWidget>

namespace lumorra {

void installPlayer(QWidget* form1)
{
    if (!form1 || PlayerHandlers::of(form1))
        return;
    OnlineVideoHandlers* page = installOnlineVideo(form1);
    auto* player = new PlayerHandlers(form1, page ? page->qvodSearch() : nullptr);
    new OnDemandHandlers(form1);
    new LiveChannels(form1);
    if (page) {
        page->setPlayerButtonHandler([player](int index) { player->playerButton(index); });
        page->setForumAddressHandler([form1] { showForumAddressWindow(form1); });
    }
}

} // namespace lumorra
