#pragma once

#include "core/jukebox/customjukeboxlist.h"
#include "core/util/componentlink.h"
#include "core/util/treesink.h"

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

class TaudioTagArtist;
class TaudioTagArtistList;

// What a library tree shows; a display mode is a set of these, stored as one byte of these bit values
// (the View settings keep that byte).
enum TtreeViewDisplayMode : std::uint8_t
{
    dmArtists = 1,
    dmTitles = 2,
    dmAlbums = 4,
    dmPlaylists = 8,
    dmCompilations = 16,
    dmInvalid = 32,
    dmGenres = 64,
};
using TtreeViewDisplayModes = std::uint8_t;

constexpr bool Has(TtreeViewDisplayModes modes, TtreeViewDisplayMode mode)
{
    return (modes & mode) != 0;
}
constexpr TtreeViewDisplayModes With(TtreeViewDisplayModes modes, TtreeViewDisplayMode mode)
{
    return static_cast<TtreeViewDisplayModes>(modes | mode);
}
constexpr TtreeViewDisplayModes Without(TtreeViewDisplayModes modes, TtreeViewDisplayMode mode)
{
    return static_cast<TtreeViewDisplayModes>(modes & ~mode);
}

// Fills a tree with a library: index roots for the letters and digits, the special roots, artists with
// their albums, the saved playlists and the genres, as the display mode asks. Every node carries the list
// it stands for, so the window showing the tree can list the songs behind it.
//
// The root handles belong to the tree last filled; RebuildPlaylists leaves any other tree alone.
class TcustomJukeboxListViewer
{
public:
    // Root slots.
    static constexpr int kRootCount = 50;
    static constexpr int kFirstDigitRoot = 26;
    static constexpr int kOtherRoot = 36;
    static constexpr int kNoArtistRoot = 37;
    static constexpr int kCompilationsRoot = 38;
    static constexpr int kPlaylistsRoot = 39;
    static constexpr int kGenresRoot = 40;

    TcustomJukeboxListViewer() = default;
    virtual ~TcustomJukeboxListViewer() = default;
    TcustomJukeboxListViewer(const TcustomJukeboxListViewer&) = delete;
    TcustomJukeboxListViewer& operator=(const TcustomJukeboxListViewer&) = delete;

    // Published properties. The library link reads nullptr once the library is destroyed.
    TcustomJukeboxList* JukeboxList() const { return jukeboxList_.Get(); }
    void SetJukeboxList(TcustomJukeboxList* value) { jukeboxList_.Reset(value); }
    TtreeViewDisplayModes DisplayMode() const { return displayMode_; }
    void SetDisplayMode(TtreeViewDisplayModes value) { displayMode_ = value; }
    // Create every letter and digit root (and "[Other]") in advance; otherwise letter and digit roots are
    // made only for artists with albums, as they are first needed.
    bool ShowEmptyAlphas() const { return showEmptyAlphas_; }
    void SetShowEmptyAlphas(bool value) { showEmptyAlphas_ = value; }

    // Progress of a fill: step index of count, with what is being added.
    std::function<void(TcustomJukeboxListViewer* sender, int index, int count, const std::string& comment)>
        OnProcess;

    // Builds the tree from the library's artists and title groups; without a library nothing happens.
    void FillTree(TtreeSink& view);
    void FillTree(TtreeSink& view, TtreeViewDisplayModes modes);
    // Clears the view and fills it; either list may be null.
    void BuildTree(const TaudioTagArtistList* artists, const TaudioTagArtistList* alphaList,
                   TtreeViewDisplayModes modes, TtreeSink& view);

    // The root of a letter (either case) or digit; null for other characters and without a library.
    TtreeNode GetAlphaNode(char ch) const;
    TtreeNode GetOtherNode() const { return roots_[kOtherRoot]; }
    TtreeNode GetNoArtistNode() const { return roots_[kNoArtistRoot]; }
    TtreeNode GetCompilationsNode() const { return roots_[kCompilationsRoot]; }
    TtreeNode GetPlaylistsNode() const { return roots_[kPlaylistsRoot]; }
    TtreeNode GetGenresNode() const { return roots_[kGenresRoot]; }
    // The root of a slot; null out of range or where not created.
    TtreeNode RootNode(int slot) const;
    // The caption of a root slot; "" for the slots that never get a root.
    static std::string RootCaption(int slot);

    // Refills the "[Playlists]" root of the tree last filled, when it has one.
    void RebuildPlaylists(TtreeSink& view);
    void ToggleDisplayMode(TtreeViewDisplayMode mode);
    void DoProcess(int index, int count, const std::string& comment);

protected:
    virtual void CreateRootNodes(TtreeViewDisplayModes modes, TtreeSink& view);
    // Places one entry of an artist-name index (or one title group, with only dmTitles).
    virtual void AddArtist(std::string_view name, TtreeViewDisplayModes modes, TaudioTagArtist* artist,
                           TtreeSink& view);
    virtual void AddPlaylists(TtreeSink& view);
    virtual void AddGenres(TtreeSink& view);

private:
    TtreeNode AddRoot(int slot, TtreeSink& view);
    // The letter or digit slot of a name's first character; -1 for any other.
    static int AlphaSlot(char ch);

    std::array<TtreeNode, kRootCount> roots_{};
    TcomponentLink<TcustomJukeboxList> jukeboxList_;
    TtreeViewDisplayModes displayMode_ = 0;
    bool showEmptyAlphas_ = true;
    // The tree the root handles belong to; a link, compared only.
    const TtreeSink* filled_ = nullptr;
};
