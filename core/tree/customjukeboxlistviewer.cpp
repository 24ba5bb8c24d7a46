#include "core/tree/customjukeboxlistviewer.h"

#include "core/groupings/audiotagartist.h"
#include "core/groupings/audiotagartistlist.h"
#include "core/groupings/audiotaggenrelist.h"
#include "core/groupings/audiotagplaylistlist.h"
#include "core/jukebox/customjukeboxlist.h"
#include "platform/scopeguard.h"
#include "platform/textcompare.h"

#include <vector>

namespace {

constexpr TtreeViewDisplayModes kIndexModes = dmArtists | dmTitles | dmAlbums;

bool AnyOf(TtreeViewDisplayModes modes, TtreeViewDisplayModes of)
{
    return (modes & of) != 0;
}

} // namespace

int TcustomJukeboxListViewer::AlphaSlot(char ch)
{
    if (ch >= 'a' && ch <= 'z')
        return ch - 'a';
    if (ch >= 'A' && ch <= 'Z')
        return ch - 'A';
    if (ch >= '0' && ch <= '9')
        return kFirstDigitRoot + (ch - '0');
    return -1;
}

std::string TcustomJukeboxListViewer::RootCaption(int slot)
{
    if (slot >= 0 && slot < kFirstDigitRoot)
        return std::string{'[', static_cast<char>('A' + slot), ']'};
    if (slot >= kFirstDigitRoot && slot < kOtherRoot)
        return std::string{'[', static_cast<char>('0' + slot - kFirstDigitRoot), ']'};
    switch (slot) {
    case kOtherRoot:
        return "[Other]";
    case kNoArtistRoot:
        return "[No Artist]";
    case kCompilationsRoot:
        return "[Compilations]";
    case kPlaylistsRoot:
        return "[Playlists]";
    case kGenresRoot:
        return "[Genres]";
    default:
        return {};
    }
}

TtreeNode TcustomJukeboxListViewer::RootNode(int slot) const
{
    return slot >= 0 && slot < kRootCount ? roots_[static_cast<std::size_t>(slot)] : TtreeNode{};
}

TtreeNode TcustomJukeboxListViewer::AddRoot(int slot, TtreeSink& view)
{
    TtreeNode& root = roots_[static_cast<std::size_t>(slot)];
    root = view.AddChild(TtreeNode{}, RootCaption(slot), nullptr, tnkNone);
    return root;
}

void TcustomJukeboxListViewer::FillTree(TtreeSink& view)
{
    FillTree(view, displayMode_);
}

void TcustomJukeboxListViewer::FillTree(TtreeSink& view, TtreeViewDisplayModes modes)
{
    if (TcustomJukeboxList* library = JukeboxList())
        BuildTree(&library->Artists(), &library->AlphaList(), modes, view);
}

void TcustomJukeboxListViewer::BuildTree(const TaudioTagArtistList* artists,
                                         const TaudioTagArtistList* alphaList, TtreeViewDisplayModes modes,
                                         TtreeSink& view)
{
    // Closes the bracket even when a progress handler throws, so the view is not left frozen.
    const platform::TUpdateGuard guard(view);

    view.Clear();
    filled_ = &view;
    CreateRootNodes(modes, view);
    if (modes == 0)
        return;

    if (artists) {
        const std::vector<TaudioTagArtistList::IndexEntry>& index = artists->IndexNames();
        const int count = static_cast<int>(index.size());
        const TtreeViewDisplayModes artistModes = Without(modes, dmTitles);
        for (int i = 0; i < count; ++i) {
            const TaudioTagArtistList::IndexEntry& entry = index[static_cast<std::size_t>(i)];
            AddArtist(entry.name, artistModes, entry.artist, view);
            DoProcess(i + 1, count, "Adding Artists");
        }
    }

    if (alphaList && Has(modes, dmTitles) && showEmptyAlphas_) {
        const int count = alphaList->GetCount();
        for (int i = 0; i < count; ++i) {
            if (TaudioTagArtist* group = alphaList->GetArtist(i))
                AddArtist(group->Title(), dmTitles, group, view);
            DoProcess(i + 1, count, "Adding Artists");
        }
    }

    if (Has(modes, dmPlaylists))
        AddPlaylists(view);
    if (Has(modes, dmGenres))
        AddGenres(view);
}

void TcustomJukeboxListViewer::CreateRootNodes(TtreeViewDisplayModes modes, TtreeSink& view)
{
    roots_.fill(TtreeNode{});
    if (showEmptyAlphas_ && AnyOf(modes, kIndexModes))
        for (int slot = 0; slot <= kOtherRoot; ++slot)
            AddRoot(slot, view);
    if (Has(modes, dmInvalid))
        AddRoot(kNoArtistRoot, view);
    if (Has(modes, dmCompilations))
        AddRoot(kCompilationsRoot, view);
    if (Has(modes, dmPlaylists))
        AddRoot(kPlaylistsRoot, view);
    if (Has(modes, dmGenres))
        AddRoot(kGenresRoot, view);
}

void TcustomJukeboxListViewer::AddArtist(std::string_view name, TtreeViewDisplayModes modes,
                                         TaudioTagArtist* artist, TtreeSink& view)
{
    if (!artist)
        return;
    if (name.empty() || platform::SameText(name, kNotTaggedArtist)) {
        if (Has(modes, dmInvalid) && roots_[kNoArtistRoot])
            view.SetData(roots_[kNoArtistRoot], artist, tnkArtist);
        return;
    }

    TtreeNode target;
    const bool compilations = platform::SameText(artist->Title(), kCompilationsArtist);
    if (compilations) {
        if (!Has(modes, dmCompilations))
            return;
        target = roots_[kCompilationsRoot];
    } else {
        const int slot = AlphaSlot(name.front());
        if (slot < 0) {
            target = roots_[kOtherRoot];
        } else {
            target = roots_[static_cast<std::size_t>(slot)];
            if (!target && !showEmptyAlphas_ && Has(modes, dmAlbums) && artist->Albums().GetCount() > 0)
                target = AddRoot(slot, view);
        }
    }
    if (!target)
        return;

    if (Has(modes, dmTitles)) {
        view.SetData(target, artist, tnkArtist);
        return;
    }
    if (compilations) {
        artist->Albums().FillTree(view, target);
        return;
    }
    if (Has(modes, dmArtists)) {
        const TtreeNode node = artist->AddTreeNode(view, target, Has(modes, dmAlbums));
        if (node)
            view.SetText(node, name);
    } else if (Has(modes, dmAlbums) && artist->Albums().GetCount() > 0) {
        artist->AddTreeNode(view, target, true);
        view.SetData(target, nullptr, tnkNone);
    }
}

void TcustomJukeboxListViewer::AddPlaylists(TtreeSink& view)
{
    TcustomJukeboxList* library = JukeboxList();
    const TtreeNode root = roots_[kPlaylistsRoot];
    if (!library || !root)
        return;
    const TaudioTagPlaylistList& playlists = library->Playlists();
    const int count = playlists.GetCount();
    for (int i = 0; i < count; ++i) {
        AddListTreeNode(playlists.GetItem(i), view, root);
        DoProcess(i + 1, count, "Adding Playlists");
    }
}

void TcustomJukeboxListViewer::AddGenres(TtreeSink& view)
{
    TcustomJukeboxList* library = JukeboxList();
    const TtreeNode root = roots_[kGenresRoot];
    if (!library || !root)
        return;
    const TaudioTagGenreList& genres = library->Genres();
    const bool useArtists = genres.UseArtists();
    const bool useAlbums = genres.UseAlbums();
    const auto addGenre = [&](TaudioTagGenre* genre) {
        const TtreeNode node = AddListTreeNode(genre, view, root);
        if (!useArtists || !node)
            return;
        for (const TaudioTagArtistList::IndexEntry& entry : genre->Artists().IndexNames()) {
            if (!entry.artist)
                continue;
            const TtreeNode artistNode = entry.artist->AddTreeNode(view, node, useAlbums);
            if (artistNode)
                view.SetText(artistNode, entry.name);
        }
    };

    std::vector<TaudioTagGenre*> undefined;
    const int count = genres.GetCount();
    for (int i = 0; i < count; ++i) {
        if (TaudioTagGenre* genre = genres.GetGenre(i)) {
            if (platform::SameText(genre->Genre(), kUndefinedGenre))
                undefined.push_back(genre);
            else
                addGenre(genre);
        }
        DoProcess(i + 1, count, "Adding Genres");
    }
    for (TaudioTagGenre* genre : undefined)
        addGenre(genre);
}

TtreeNode TcustomJukeboxListViewer::GetAlphaNode(char ch) const
{
    if (!JukeboxList())
        return {};
    const int slot = AlphaSlot(ch);
    return slot < 0 ? TtreeNode{} : roots_[static_cast<std::size_t>(slot)];
}

void TcustomJukeboxListViewer::RebuildPlaylists(TtreeSink& view)
{
    const TtreeNode root = roots_[kPlaylistsRoot];
    if (!root || &view != filled_)
        return;
    view.DeleteChildren(root);
    AddPlaylists(view);
}

void TcustomJukeboxListViewer::ToggleDisplayMode(TtreeViewDisplayMode mode)
{
    displayMode_ = Has(displayMode_, mode) ? Without(displayMode_, mode) : With(displayMode_, mode);
}

void TcustomJukeboxListViewer::DoProcess(int index, int count, const std::string& comment)
{
    if (OnProcess)
        OnProcess(this, index, count, comment);
}
