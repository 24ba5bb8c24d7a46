#pragma once

// What the playlist editor's files share: filling a list box with song lines.
#include "controls/htmllistbox.h"
#include "controls/htmllistitems.h"
#include "core/songs/audiotag.h"
#include "markup/taggedtext.h"
#include "platform/scopeguard.h"
#include "platform/stringlist.h"

namespace playlisteditor {

inline void SetLines(ThtmlListBox& box, const TStringList<TaudioTag>& lines)
{
    ThtmlListItems& items = box.Items();
    platform::TUpdateGuard guard(items);
    items.Clear();
    for (const auto& line : lines)
        items.AddObject(EscapeMarkup(line.text), line.object);
}

} // namespace playlisteditor
