#include "core/customjukeboxlistevents.h"

#include "core/customjukeboxevents.h"
#include "core/custommediaplayerevents.h"

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
