#include "player/install_player.h"

#include "player/forum_address_window.h"
#include "player/live_channels.h"
#include "player/on_demand_handlers.h"
#include "player/player_handlers.h"
#include "pages/torrent/bt_sources.h"
#include "pages/video/online_video_handlers.h"
#include "player/on_demand_window.h"

#include <QWidget>

namespace lumorra {

void installPlayer(QWidget* form1)
{
    if (!form1 || PlayerHandlers::of(form1))
        return;
    OnlineVideoHandlers* page = installOnlineVideo(form1);
    auto* player = new PlayerHandlers(form1, page ? page->qvodSearch() : nullptr);
    new OnDemandHandlers(form1);
    if (BtSources* bt = BtSources::of(form1))
        QObject::connect(bt, &BtSources::playRequested, player,
                         [form1](const QString& link) { playOnDemand(form1, link); });
    new LiveChannels(form1);
    if (page) {
        page->setPlayerButtonHandler([player](int index) { player->playerButton(index); });
        page->setForumAddressHandler([form1] { showForumAddressWindow(form1); });
    }
}

} // namespace lumorra
