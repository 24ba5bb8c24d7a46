#include "core/captions/librarytreecaption.h"

#include "core/captions/tagfonts.h"
#include "core/groupings/audiotagartist.h"
#include "core/songs/audiotaglist.h"

namespace {

// " (3 Albums)", ", 1 Artist" and the like: the count of a node's children.
std::string CountText(const char* lead, int count, const char* word, const char* trail)
{
    std::string text(lead);
    text += std::to_string(count);
    text += ' ';
    text += word;
    if (count != 1)
        text += 's';
    text += trail;
    return text;
}

} // namespace

std::string LibraryTreeCaption(const TtagFonts& fonts, const TlibraryTreeNode& node)
{
    const int count = node.ChildCount;
    if (!node.Data) {
        std::string suffix;
        if (count > 0) {
            const char* word = "Artist";
            if (!node.HasParent && node.Text == "[Compilations]")
                word = "Album";
            else if (!node.HasParent && node.Text == "[Playlists]")
                word = "Playlist";
            else if (!node.HasParent && node.Text == "[Genres]")
                word = "Genre";
            suffix = CountText(" (", count, word, ")");
        }
        return fonts.TextCaption(node.Text, suffix);
    }
    const auto* artist = node.Kind == tnkArtist ? dynamic_cast<const TaudioTagArtist*>(node.Data) : nullptr;
    if (artist && node.HasParent)
        return fonts.ArtistCaption(*artist, node.Text, count > 0, {});
    if (artist)
        return fonts.ArtistIndexCaption(*artist, node.Text,
                                        count > 0 ? CountText(", ", count, "Artist", "") : std::string());
    if (node.Kind == tnkAlbum)
        return fonts.AlbumCaption(*node.Data, node.Text,
                                  node.HasParent ? std::string() : CountText("(", count, "Album", ")"));
    return fonts.ListCaption(*node.Data, node.Kind != tnkGenre);
}
