#include "core/captions/librarytreecaption.h"

#include "core/captions/tagfonts.h"
#include "core/groupings/audiotagartist.h"
#include "core/groupings/audiotaggenre.h"
#include "support/generatedlibrary.h"

#include <gtest/gtest.h>

// Which caption each kind of row gets, with the counts of its children.
TEST(LibraryTreeCaption, RowsByWhatTheyHold)
{
    TlibraryShape shape;
    shape.Songs = 200;
    shape.Artists = 10;
    shape.Albums = 20;
    TgeneratedLibrary library(shape);
    TaudioTagList* playlist = library.AddPlaylist("Mix", 4);
    const TtagFonts fonts;

    EXPECT_EQ(LibraryTreeCaption(fonts, {"[A]", nullptr, tnkNone, false, 0}), fonts.TextCaption("[A]", ""));
    EXPECT_EQ(LibraryTreeCaption(fonts, {"[A]", nullptr, tnkNone, false, 1}),
              fonts.TextCaption("[A]", " (1 Artist)"));
    EXPECT_EQ(LibraryTreeCaption(fonts, {"[Compilations]", nullptr, tnkNone, false, 3}),
              fonts.TextCaption("[Compilations]", " (3 Albums)"));
    EXPECT_EQ(LibraryTreeCaption(fonts, {"[Playlists]", nullptr, tnkNone, false, 1}),
              fonts.TextCaption("[Playlists]", " (1 Playlist)"));
    EXPECT_EQ(LibraryTreeCaption(fonts, {"[Genres]", nullptr, tnkNone, false, 2}),
              fonts.TextCaption("[Genres]", " (2 Genres)"));
    // Only the roots count their own kind; a category node below a parent counts artists.
    EXPECT_EQ(LibraryTreeCaption(fonts, {"[Genres]", nullptr, tnkNone, true, 2}),
              fonts.TextCaption("[Genres]", " (2 Artists)"));

    TaudioTagArtist* artist = library.Artists().GetArtist(3);
    ASSERT_NE(artist, nullptr);
    EXPECT_EQ(LibraryTreeCaption(fonts, {"Index Name", artist, tnkArtist, true, 2}),
              fonts.ArtistCaption(*artist, "Index Name", true, ""));
    EXPECT_EQ(LibraryTreeCaption(fonts, {"Index Name", artist, tnkArtist, true, 0}),
              fonts.ArtistCaption(*artist, "Index Name", false, ""));
    // A root holding a title group or the untagged songs' artist.
    EXPECT_EQ(LibraryTreeCaption(fonts, {"[B]", artist, tnkArtist, false, 2}),
              fonts.ArtistIndexCaption(*artist, "[B]", ", 2 Artists"));
    EXPECT_EQ(LibraryTreeCaption(fonts, {"[No Artist]", artist, tnkArtist, false, 0}),
              fonts.ArtistIndexCaption(*artist, "[No Artist]", ""));

    TaudioTagList* album = library.Albums().GetItem(0);
    EXPECT_EQ(LibraryTreeCaption(fonts, {"Album", album, tnkAlbum, true, 0}),
              fonts.AlbumCaption(*album, "Album", ""));
    EXPECT_EQ(LibraryTreeCaption(fonts, {"Album", album, tnkAlbum, false, 2}),
              fonts.AlbumCaption(*album, "Album", "(2 Albums)"));

    // Playlists show their length, genres do not.
    EXPECT_EQ(LibraryTreeCaption(fonts, {"Mix", playlist, tnkList, true, 0}),
              fonts.ListCaption(*playlist, true));
    TaudioTagGenre* genre = library.Genres().GetGenre(0);
    ASSERT_NE(genre, nullptr);
    EXPECT_EQ(LibraryTreeCaption(fonts, {"Rock", genre, tnkGenre, true, 5}),
              fonts.ListCaption(*genre, false));
    // A kind that does not match its data falls back to the list caption.
    EXPECT_EQ(LibraryTreeCaption(fonts, {"Mix", playlist, tnkArtist, true, 0}),
              fonts.ListCaption(*playlist, true));
}
