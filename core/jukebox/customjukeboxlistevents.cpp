#include "core/jukebox/customjukeboxlistevents.h"

#include "core/jukebox/customjukeboxevents.h"
#include "core/player/custommediaplayerevents.h"

TcustomJukeboxEvents* TcustomJukeboxListEvents::JukeboxEvents() const
{
    return jukeboxEvents_.Get();
}

void TcustomJukeboxListEvents::SetJukeboxEvents(TcustomJukeboxEvents* value)
{
    jukeboxEvents_.Reset(value);
}

TcustomMediaPlayerEvents* TcustomJukeboxListEvents::PlayerEvents() const
{
    return playerEvents_.Get();
}

void TcustomJukeboxListEvents::SetPlayerEvents(TcustomMediaPlayerEvents* value)
{
    playerEvents_.Reset(value);
}
