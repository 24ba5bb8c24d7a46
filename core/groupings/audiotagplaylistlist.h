#pragma once

#include "core/groupings/audiotaglistlist.h"

#include <cstdint>
#include <string_view>

enum TplaylistListMode : std::uint8_t
{
    plmNormal = 0,
    plmStacker = 1,
};

// The saved playlists and the stacker: a set of song lists with one selected list.
class TaudioTagPlaylistList : public TaudioTagListList
{
public:
    // Set by the playing jukebox on its stacker; the set itself does not act on it.
    TplaylistListMode Mode() const { return mode_; }
    void SetMode(TplaylistListMode value) { mode_ = value; }

    // A member becomes active and current and the set active; anything else clears both.
    void Select(TaudioTagList* list);
    void SelectByName(std::string_view title) { Select(Find(title)); }
    // The current list while the set is Active, else nullptr.
    TaudioTagList* GetCurrent() const { return Active() ? current_ : nullptr; }

    void Delete(int i) override;
    void Remove(TaudioTagList* list) override;
    void Clear() override;

private:
    TplaylistListMode mode_ = plmNormal;
    TaudioTagList* current_ = nullptr; // link
};
