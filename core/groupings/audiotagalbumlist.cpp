#include "core/groupings/audiotagalbumlist.h"

#include <string_view>
#include <vector>

namespace {

// The folder part of a file name, separator included ("" without one).
std::string_view FolderOf(std::string_view fileName)
{
    const std::size_t slash = fileName.rfind('/');
    return slash == std::string_view::npos ? std::string_view() : fileName.substr(0, slash + 1);
}

} // namespace

void TaudioTagAlbumList::AddTag(TaudioTag* tag)
{
    if (!tag || tag->Album().empty())
        return;
    const std::string_view folder = FolderOf(tag->Filename());
    const auto inFolder = [folder](const TaudioTagList* album) {
        const TaudioTag* first = album->GetItem(0);
        return first && FolderOf(first->Filename()) == folder;
    };
    TaudioTagList* target = nullptr;
    // The same title as last time, and nothing filed or removed since: the lookup would find the same album.
    if (last_ && lastGeneration_ == Generation() && last_->Title() == tag->Album() && inFolder(last_)) {
        target = last_;
    } else {
        ForEachTitled(tag->Album(), [&](TaudioTagList* album) {
            if (!inFolder(album))
                return true;
            target = album;
            return false;
        });
    }
    if (!target) {
        auto album = std::make_unique<TaudioTagAlbum>();
        album->BeginUpdate(); // closed by DoChange
        album->SetTitle(tag->Album());
        album->SetAlbumArtist(tag->Artist());
        album->Add(tag);
        album->SetSortType(tstTrack);
        album->SetSorted(true);
        target = album.get();
        AddCreatedGrouped(std::move(album));
    } else {
        target->Add(tag);
    }
    last_ = target;
    lastGeneration_ = Generation();
}

TaudioTagAlbum* TaudioTagAlbumList::FindAlbum(std::string_view title, std::string_view folder) const
{
    TaudioTagList* found = nullptr;
    ForEachTitled(title, [&](TaudioTagList* album) {
        const TaudioTag* first = album->GetItem(0);
        if (!first || FolderOf(first->Filename()) != folder)
            return true;
        found = album;
        return false;
    });
    return dynamic_cast<TaudioTagAlbum*>(found);
}

void TaudioTagAlbumList::AddAlbum(TaudioTagAlbum* album)
{
    if (album)
        Add(album);
}

TaudioTagAlbum* TaudioTagAlbumList::GetAlbum(int i) const
{
    return dynamic_cast<TaudioTagAlbum*>(GetItem(i));
}

void TaudioTagAlbumList::FillTree(TtreeSink& tree, TtreeNode parent) const
{
    for (int i = 0; i < GetCount(); ++i)
        AddListTreeNode(GetItem(i), tree, parent);
}

void TaudioTagAlbumList::DoChange()
{
    // Closing an update notifies the album's listeners, who may change this set: work on a copy.
    std::vector<TaudioTagList*> albums;
    albums.reserve(static_cast<std::size_t>(GetCount()));
    ForEachMember([&albums](TaudioTagList* album) { albums.push_back(album); });
    for (TaudioTagList* album : albums) {
        album->EndUpdate();
        album->ShrinkToFit();
    }
    TaudioTagListList::DoChange();
}
