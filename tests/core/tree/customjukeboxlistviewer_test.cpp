#include "core/tree/customjukeboxlistviewer.h"

#include "core/groupings/audiotagartist.h"
#include "core/groupings/audiotaggenre.h"
#include "support/generatedlibrary.h"
#include "support/memorytree.h"

#include <gtest/gtest.h>

#include <memory>
#include <set>
#include <string>
#include <vector>

namespace {

struct Song
{
    const char* artist;
    const char* album;
    const char* genre;
    const char* folder;
};

// A library of the given songs, each titled by its position.
std::unique_ptr<TgeneratedLibrary> Library(const std::vector<Song>& songs)
{
    auto library = std::make_unique<TgeneratedLibrary>();
    TaudioTagList& global = library->GlobalList();
    global.BeginUpdate();
    int n = 0;
    for (const Song& s : songs) {
        auto tag = std::make_unique<TaudioTag>();
        tag->SetArtist(s.artist);
        tag->SetAlbum(s.album);
        tag->SetGenreString(s.genre);
        tag->SetTitle("Song " + std::to_string(++n));
        tag->SetFilename(std::string(s.folder) + "/" + std::to_string(n) + ".mp3");
        tag->SetDuration(60);
        global.Add(tag.release());
    }
    global.EndUpdate();
    return library;
}

// Abba with two albums, The Band with one, a compilation, an artist without albums, one of another first
// character, and an untagged song.
std::unique_ptr<TgeneratedLibrary> SmallLibrary()
{
    return Library({
        {"Abba", "Arrival", "Pop", "/m/abba/arrival"},
        {"Abba", "Voulez-Vous", "Pop", "/m/abba/voulez"},
        {"The Band", "Stage Fright", "Rock", "/m/band/stage"},
        {"X", "Hits", "Rock", "/m/various/hits"},
        {"Y", "Hits", "Rock", "/m/various/hits"},
        {"Quiet Riot", "", "Metal", "/m/quiet"},
        {"!Bang", "Noise", "", "/m/bang/noise"},
        {"", "", "", "/m/loose"},
    });
}

std::vector<std::string> Texts(const TmemoryTree& tree, const std::vector<TtreeNode>& nodes)
{
    std::vector<std::string> texts;
    for (const TtreeNode n : nodes)
        texts.push_back(tree.At(n).text);
    return texts;
}

std::vector<std::string> RootTexts(const TmemoryTree& tree)
{
    return Texts(tree, tree.Roots());
}

std::vector<std::string> Children(const TmemoryTree& tree, TtreeNode node)
{
    return Texts(tree, tree.Children(node));
}

std::vector<std::string> AlphaCaptions()
{
    std::vector<std::string> roots;
    for (int slot = 0; slot <= TcustomJukeboxListViewer::kOtherRoot; ++slot)
        roots.push_back(TcustomJukeboxListViewer::RootCaption(slot));
    return roots;
}

} // namespace

TEST(CustomJukeboxListViewer, RootsInSlotOrderAndOnlyForTheirModes)
{
    TgeneratedLibrary empty;
    TcustomJukeboxListViewer viewer;
    viewer.SetJukeboxList(&empty);
    EXPECT_TRUE(viewer.ShowEmptyAlphas());
    TmemoryTree tree;

    viewer.FillTree(tree, dmArtists);
    std::vector<std::string> roots = AlphaCaptions();
    ASSERT_EQ(roots.size(), 37u);
    EXPECT_EQ(roots.front(), "[A]");
    EXPECT_EQ(roots[26], "[0]");
    EXPECT_EQ(roots[35], "[9]");
    EXPECT_EQ(RootTexts(tree), roots);
    EXPECT_EQ(tree.UpdateLevel(), 0);

    viewer.FillTree(tree, dmPlaylists | dmCompilations | dmInvalid | dmGenres);
    EXPECT_EQ(RootTexts(tree),
              (std::vector<std::string>{"[No Artist]", "[Compilations]", "[Playlists]", "[Genres]"}));
    EXPECT_FALSE(viewer.GetAlphaNode('A'));
    EXPECT_FALSE(viewer.GetOtherNode());
    EXPECT_EQ(tree.At(viewer.GetGenresNode()).text, "[Genres]");

    viewer.SetDisplayMode(0x7F);
    viewer.FillTree(tree);
    roots.insert(roots.end(), {"[No Artist]", "[Compilations]", "[Playlists]", "[Genres]"});
    EXPECT_EQ(RootTexts(tree), roots);
    for (int slot = 0; slot < TcustomJukeboxListViewer::kRootCount; ++slot)
        EXPECT_EQ(bool(viewer.RootNode(slot)), slot <= TcustomJukeboxListViewer::kGenresRoot) << slot;
    EXPECT_EQ(TcustomJukeboxListViewer::RootCaption(41), "");

    // No mode at all: the tree is only cleared.
    viewer.FillTree(tree, 0);
    EXPECT_TRUE(tree.Roots().empty());
}

TEST(CustomJukeboxListViewer, ArtistsWithAlbumsUnderTheirIndexNames)
{
    const auto library = SmallLibrary();
    TcustomJukeboxListViewer viewer;
    viewer.SetJukeboxList(library.get());
    TmemoryTree tree;
    viewer.FillTree(tree, dmArtists | dmAlbums | dmCompilations | dmInvalid);

    const TtreeNode a = viewer.GetAlphaNode('a');
    ASSERT_TRUE(a);
    EXPECT_EQ(viewer.GetAlphaNode('A'), a);
    EXPECT_EQ(tree.At(a).data, nullptr);
    ASSERT_EQ(Children(tree, a), std::vector<std::string>{"Abba"});
    const TtreeNode abba = tree.Children(a)[0];
    EXPECT_EQ(tree.At(abba).kind, tnkArtist);
    EXPECT_EQ(tree.At(abba).data, library->Artists().FindArtist("Abba"));
    EXPECT_EQ(Children(tree, abba), (std::vector<std::string>{"Arrival", "Voulez-Vous"}));
    EXPECT_EQ(tree.At(tree.Children(abba)[0]).kind, tnkAlbum);

    // "The Band" stands under [T] as written and under [B] as indexed, both carrying the one artist.
    const TaudioTagList* band = library->Artists().FindArtist("The Band");
    ASSERT_EQ(Children(tree, viewer.GetAlphaNode('T')), std::vector<std::string>{"The Band"});
    ASSERT_EQ(Children(tree, viewer.GetAlphaNode('b')), std::vector<std::string>{"Band, The"});
    EXPECT_EQ(tree.At(tree.Children(viewer.GetAlphaNode('B'))[0]).data, band);
    EXPECT_EQ(tree.At(tree.Children(viewer.GetAlphaNode('T'))[0]).data, band);

    // An artist without albums still shows with dmArtists; another first character goes to [Other].
    EXPECT_EQ(Children(tree, viewer.GetAlphaNode('Q')), std::vector<std::string>{"Quiet Riot"});
    EXPECT_EQ(Children(tree, viewer.GetOtherNode()), std::vector<std::string>{"!Bang"});

    // The compilation is an album node of the "[Compilations]" root; the untagged song's artist sits on
    // "[No Artist]" as its data, with nothing below.
    ASSERT_EQ(Children(tree, viewer.GetCompilationsNode()), std::vector<std::string>{"Hits"});
    EXPECT_EQ(tree.At(tree.Children(viewer.GetCompilationsNode())[0]).kind, tnkAlbum);
    EXPECT_EQ(tree.At(viewer.GetNoArtistNode()).data, library->Artists().FindArtist("[Not Tagged]"));
    EXPECT_TRUE(tree.Children(viewer.GetNoArtistNode()).empty());

    // Without dmAlbums the artists have no children; without dmCompilations nothing goes anywhere for them.
    viewer.FillTree(tree, dmArtists);
    EXPECT_TRUE(tree.Children(tree.Children(viewer.GetAlphaNode('A'))[0]).empty());
    EXPECT_FALSE(viewer.GetCompilationsNode());
    EXPECT_FALSE(viewer.GetNoArtistNode());
}

TEST(CustomJukeboxListViewer, AlbumsWithoutArtistsKeepTheArtistsOwnTitles)
{
    const auto library = SmallLibrary();
    TcustomJukeboxListViewer viewer;
    viewer.SetJukeboxList(library.get());
    TmemoryTree tree;
    viewer.FillTree(tree, dmAlbums);
    // Only artists with albums, each once per index entry, captioned with the artist's own name.
    EXPECT_EQ(Children(tree, viewer.GetAlphaNode('B')), std::vector<std::string>{"The Band"});
    EXPECT_EQ(Children(tree, viewer.GetAlphaNode('T')), std::vector<std::string>{"The Band"});
    EXPECT_TRUE(tree.Children(viewer.GetAlphaNode('Q')).empty());
    EXPECT_EQ(Children(tree, tree.Children(viewer.GetAlphaNode('A'))[0]),
              (std::vector<std::string>{"Arrival", "Voulez-Vous"}));
}

TEST(CustomJukeboxListViewer, AlbumChooserMakesLetterRootsOnDemand)
{
    const auto library = SmallLibrary();
    TcustomJukeboxListViewer viewer;
    viewer.SetJukeboxList(library.get());
    viewer.SetShowEmptyAlphas(false);
    viewer.SetDisplayMode(dmAlbums | dmCompilations);
    TmemoryTree tree;
    viewer.FillTree(tree);
    // "[Compilations]" first; then the roots as the index first needs them: Abba, "Band, The", The Band.
    // Quiet Riot has no album, "!Bang" has no root to go to.
    EXPECT_EQ(RootTexts(tree), (std::vector<std::string>{"[Compilations]", "[A]", "[B]", "[T]"}));
    EXPECT_FALSE(viewer.GetAlphaNode('Q'));
    EXPECT_FALSE(viewer.GetOtherNode());
    EXPECT_EQ(Children(tree, viewer.GetCompilationsNode()), std::vector<std::string>{"Hits"});

    // Only dmAlbums makes roots on demand.
    viewer.FillTree(tree, dmArtists);
    EXPECT_TRUE(tree.Roots().empty());
}

TEST(CustomJukeboxListViewer, TitleGroupsHangOnTheirRoots)
{
    const auto library = SmallLibrary();
    TcustomJukeboxListViewer viewer;
    viewer.SetJukeboxList(library.get());
    TmemoryTree tree;
    viewer.FillTree(tree, dmTitles);
    // Every song is titled "Song n", so one group "S"; the untagged song got its file name, "8.mp3".
    const TtreeNode s = viewer.GetAlphaNode('s');
    EXPECT_EQ(tree.At(s).data, library->AlphaList().FindArtist("S"));
    EXPECT_EQ(tree.At(s).kind, tnkArtist);
    EXPECT_EQ(tree.At(viewer.GetAlphaNode('8')).data, library->AlphaList().FindArtist("8"));
    EXPECT_TRUE(tree.Children(s).empty());
    EXPECT_EQ(tree.At(viewer.GetAlphaNode('A')).data, nullptr);

    // Title groups need the roots made in advance.
    viewer.SetShowEmptyAlphas(false);
    viewer.FillTree(tree, dmTitles | dmAlbums);
    EXPECT_EQ(RootTexts(tree), (std::vector<std::string>{"[A]", "[B]", "[T]"}));
    for (const TtreeNode root : tree.Roots())
        EXPECT_EQ(tree.At(root).data, nullptr);
}

TEST(CustomJukeboxListViewer, PlaylistsAndTheirRebuild)
{
    const auto library = SmallLibrary();
    TaudioTagList* party = library->AddPlaylist("Party", 2);
    library->AddPlaylist("Chill", 1);
    TcustomJukeboxListViewer viewer;
    viewer.SetJukeboxList(library.get());
    std::vector<std::string> steps;
    viewer.OnProcess = [&](TcustomJukeboxListViewer* sender, int index, int count, const std::string& what) {
        EXPECT_EQ(sender, &viewer);
        steps.push_back(what + " " + std::to_string(index) + "/" + std::to_string(count));
    };
    TmemoryTree tree;
    viewer.FillTree(tree, dmArtists | dmPlaylists);
    const TtreeNode root = viewer.GetPlaylistsNode();
    EXPECT_EQ(Children(tree, root), (std::vector<std::string>{"Chill", "Party"}));
    EXPECT_EQ(tree.At(tree.Children(root)[1]).data, party);
    EXPECT_EQ(tree.At(tree.Children(root)[1]).kind, tnkList);
    ASSERT_GE(steps.size(), 2u);
    EXPECT_EQ(steps[steps.size() - 2], "Adding Playlists 1/2");
    EXPECT_EQ(steps.back(), "Adding Playlists 2/2");
    // One step per index entry before them: Abba, "Band, The", Quiet Riot, The Band, X, Y, "!Bang",
    // "[Compilations]", "[Not Tagged]".
    const auto artistSteps = static_cast<int>(library->Artists().IndexNames().size());
    EXPECT_EQ(steps[static_cast<std::size_t>(artistSteps) - 1],
              "Adding Artists " + std::to_string(artistSteps) + "/" + std::to_string(artistSteps));

    library->AddPlaylist("Breakfast", 1);
    TmemoryTree other;
    viewer.RebuildPlaylists(other); // not the tree filled: left alone
    EXPECT_TRUE(other.Roots().empty());
    viewer.RebuildPlaylists(tree);
    EXPECT_EQ(Children(tree, root), (std::vector<std::string>{"Breakfast", "Chill", "Party"}));
    EXPECT_EQ(RootTexts(tree).size(), 38u);

    // Without the root there is nothing to rebuild.
    viewer.FillTree(tree, dmArtists);
    viewer.RebuildPlaylists(tree);
    EXPECT_FALSE(viewer.GetPlaylistsNode());
    EXPECT_EQ(RootTexts(tree).size(), 37u);
}

TEST(CustomJukeboxListViewer, GenresWithUndefinedLastAndTheirArtists)
{
    const auto library = SmallLibrary();
    TcustomJukeboxListViewer viewer;
    viewer.SetJukeboxList(library.get());
    TmemoryTree tree;
    viewer.FillTree(tree, dmGenres);
    const TtreeNode root = viewer.GetGenresNode();
    EXPECT_EQ(RootTexts(tree), std::vector<std::string>{"[Genres]"});
    ASSERT_EQ(Children(tree, root), (std::vector<std::string>{"Metal", "Pop", "Rock", "[Undefined]"}));
    const TtreeNode rock = tree.Children(root)[2];
    EXPECT_EQ(tree.At(rock).kind, tnkGenre);
    EXPECT_EQ(tree.At(rock).data, library->Genres().FindGenre("rock"));
    // Genre, artist (by index name), album; compilation albums stay unattached inside a genre.
    EXPECT_EQ(Children(tree, rock), (std::vector<std::string>{"Band, The", "The Band", "X", "Y"}));
    EXPECT_EQ(Children(tree, tree.Children(rock)[0]), std::vector<std::string>{"Stage Fright"});
    EXPECT_TRUE(tree.Children(tree.Children(rock)[2]).empty());

    library->Genres().SetUseAlbums(false);
    viewer.FillTree(tree, dmGenres);
    EXPECT_TRUE(tree.Children(tree.Children(tree.Children(viewer.GetGenresNode())[2])[0]).empty());
    library->Genres().SetUseArtists(false);
    viewer.FillTree(tree, dmGenres);
    for (const TtreeNode genre : tree.Children(viewer.GetGenresNode()))
        EXPECT_TRUE(tree.Children(genre).empty());
}

TEST(CustomJukeboxListViewer, AlphaNodesModesAndTheLibraryLink)
{
    TcustomJukeboxListViewer viewer;
    TmemoryTree tree;
    viewer.FillTree(tree, dmArtists); // no library: nothing at all
    EXPECT_TRUE(tree.Roots().empty());
    EXPECT_EQ(tree.UpdateLevel(), 0);

    auto library = SmallLibrary();
    viewer.SetJukeboxList(library.get());
    viewer.FillTree(tree, dmArtists);
    EXPECT_EQ(tree.At(viewer.GetAlphaNode('q')).text, "[Q]");
    EXPECT_EQ(tree.At(viewer.GetAlphaNode('7')).text, "[7]");
    EXPECT_FALSE(viewer.GetAlphaNode('#'));
    EXPECT_FALSE(viewer.GetAlphaNode('\xC3'));

    viewer.SetDisplayMode(dmArtists | dmAlbums);
    viewer.ToggleDisplayMode(dmAlbums);
    EXPECT_EQ(viewer.DisplayMode(), dmArtists);
    viewer.ToggleDisplayMode(dmGenres);
    EXPECT_EQ(viewer.DisplayMode(), dmArtists | dmGenres);

    // The link forgets a library that is destroyed.
    library.reset();
    EXPECT_EQ(viewer.JukeboxList(), nullptr);
    EXPECT_FALSE(viewer.GetAlphaNode('q'));
    const std::string before = tree.Dump();
    viewer.FillTree(tree);
    EXPECT_EQ(tree.Dump(), before);
}

TEST(CustomJukeboxListViewer, AProgressHandlerThatThrowsLeavesTheUpdate)
{
    const auto library = SmallLibrary();
    TcustomJukeboxListViewer viewer;
    viewer.SetJukeboxList(library.get());
    viewer.OnProcess = [](TcustomJukeboxListViewer*, int, int, const std::string&) {
        throw std::runtime_error("cancelled");
    };
    TmemoryTree tree;
    EXPECT_THROW(viewer.FillTree(tree, dmArtists), std::runtime_error);
    EXPECT_EQ(tree.UpdateLevel(), 0);
}

// Every display mode on a generated library: the shape of the tree follows the rules of each mode.
TEST(CustomJukeboxListViewer, EveryDisplayModeOnAGeneratedLibrary)
{
    TlibraryShape shape;
    shape.Songs = 2000;
    shape.Artists = 90;
    shape.Albums = 200;
    TgeneratedLibrary library(shape);
    library.AddPlaylist("Mix", 10);
    library.AddPlaylist("Best", 5);
    const TaudioTagArtistList& artists = library.Artists();
    const TaudioTagArtist* compilations = artists.FindArtist("[Compilations]");
    ASSERT_NE(compilations, nullptr);
    ASSERT_GT(compilations->Albums().GetCount(), 0);
    ASSERT_NE(library.Genres().FindGenre("[Undefined]"), nullptr);

    for (const bool showEmpty : {true, false})
        for (int m = 0; m < 128; ++m) {
            SCOPED_TRACE("modes " + std::to_string(m) + (showEmpty ? " with" : " without") + " empty alphas");
            const auto modes = static_cast<TtreeViewDisplayModes>(m);
            TcustomJukeboxListViewer viewer;
            viewer.SetJukeboxList(&library);
            viewer.SetShowEmptyAlphas(showEmpty);
            TmemoryTree tree;
            viewer.FillTree(tree, modes);

            // Which roots exist.
            const bool index = (modes & (dmArtists | dmTitles | dmAlbums)) != 0;
            for (int slot = 0; slot <= TcustomJukeboxListViewer::kOtherRoot; ++slot) {
                const bool onDemand =
                    !showEmpty && slot < TcustomJukeboxListViewer::kOtherRoot && Has(modes, dmAlbums);
                if (!onDemand) {
                    ASSERT_EQ(bool(viewer.RootNode(slot)), showEmpty && index) << slot;
                }
            }
            ASSERT_EQ(bool(viewer.GetNoArtistNode()), Has(modes, dmInvalid));
            ASSERT_EQ(bool(viewer.GetCompilationsNode()), Has(modes, dmCompilations));
            ASSERT_EQ(bool(viewer.GetPlaylistsNode()), Has(modes, dmPlaylists));
            ASSERT_EQ(bool(viewer.GetGenresNode()), Has(modes, dmGenres));

            // Index entries below the letter, digit and other roots.
            std::multiset<std::pair<std::string, const TaudioTagList*>> expected, shown;
            for (const auto& entry : artists.IndexNames()) {
                if (entry.name == "[Not Tagged]" || entry.artist == compilations)
                    continue;
                const bool hasAlbums = entry.artist->Albums().GetCount() > 0;
                const char first = entry.name[0];
                const bool alnum = std::isalnum(static_cast<unsigned char>(first)) != 0;
                if (!alnum && !(showEmpty && index))
                    continue;
                if (alnum && !showEmpty && !(Has(modes, dmAlbums) && hasAlbums))
                    continue;
                if (Has(modes, dmArtists))
                    expected.emplace(entry.name, entry.artist);
                else if (Has(modes, dmAlbums) && hasAlbums)
                    expected.emplace(entry.artist->Title(), entry.artist);
            }
            for (int slot = 0; slot <= TcustomJukeboxListViewer::kOtherRoot; ++slot) {
                const TtreeNode root = viewer.RootNode(slot);
                if (!root)
                    continue;
                for (const TtreeNode child : tree.Children(root)) {
                    const TmemoryTree::Node& node = tree.At(child);
                    ASSERT_EQ(node.kind, tnkArtist);
                    const auto* artist = static_cast<const TaudioTagArtist*>(node.data);
                    // Artist nodes are placed by index name; only with dmArtists do they show it.
                    if (slot < TcustomJukeboxListViewer::kOtherRoot && Has(modes, dmArtists)) {
                        ASSERT_EQ(std::toupper(static_cast<unsigned char>(node.text[0])),
                                  tree.At(root).text[1]);
                    }
                    // Albums below an artist exactly with dmAlbums.
                    ASSERT_EQ(static_cast<int>(tree.Children(child).size()),
                              Has(modes, dmAlbums) ? artist->Albums().GetCount() : 0);
                    shown.emplace(node.text, artist);
                }
                // Title groups sit on their roots as data, only with dmTitles.
                const TaudioTagList* group = tree.At(root).data;
                if (group) {
                    ASSERT_TRUE(Has(modes, dmTitles) && showEmpty);
                }
                if (Has(modes, dmTitles) && showEmpty) {
                    const std::string key = slot == TcustomJukeboxListViewer::kOtherRoot
                                                ? std::string("~")
                                                : tree.At(root).text.substr(1, 1);
                    ASSERT_EQ(group, library.AlphaList().FindArtist(key));
                }
            }
            ASSERT_EQ(shown, expected);

            if (Has(modes, dmInvalid)) {
                ASSERT_EQ(tree.At(viewer.GetNoArtistNode()).data, artists.FindArtist("[Not Tagged]"));
            }
            if (Has(modes, dmCompilations)) {
                ASSERT_EQ(static_cast<int>(tree.Children(viewer.GetCompilationsNode()).size()),
                          compilations->Albums().GetCount());
            }
            if (Has(modes, dmPlaylists)) {
                ASSERT_EQ(Children(tree, viewer.GetPlaylistsNode()),
                          (std::vector<std::string>{"Best", "Mix"}));
            }
            if (Has(modes, dmGenres)) {
                const std::vector<std::string> genres = Children(tree, viewer.GetGenresNode());
                ASSERT_EQ(static_cast<int>(genres.size()), library.Genres().GetCount());
                ASSERT_EQ(genres.back(), "[Undefined]");
                ASSERT_EQ(std::count(genres.begin(), genres.end(), "[Undefined]"), 1);
            }
            ASSERT_EQ(tree.UpdateLevel(), 0);
        }
}
