#include "app/dialogs/frmplaylist.h"
#include "controls/htmllistbox.h"
#include "controls/htmllistitems.h"
#include "core/jukebox/localjukebox.h"
#include "core/jukebox/localjukeboxlist.h"
#include "core/util/orvanexutils.h"
#include "markup/taggedtext.h"
#include "platform/qtstring.h"
#include "support/generatedlibrary.h"

#include <gtest/gtest.h>

#include <QLabel>

#include <memory>
#include <string>
#include <vector>

namespace {

std::vector<std::string> Panels(const TfrmPlaylist& window)
{
    std::vector<std::string> texts;
    for (int i = 0; i < 3; ++i)
        texts.push_back(platform::FromQString(window.Panel(i)->text()));
    return texts;
}

const std::vector<std::string> kEmpty = {"Count : 0", "Play Time : 0:00:00", "Artist Count : 0"};

// A library with its own playing jukebox and a saved playlist of ten copies of generated songs.
struct TplayingLibrary
{
    TgeneratedLibrary songs{TlibraryShape{.Songs = 120, .Artists = 9, .Albums = 14, .Genres = 3}};
    TlocalJukeboxList library;
    TaudioTagList* party = nullptr;

    TplayingLibrary()
    {
        auto list = std::make_unique<TaudioTagList>();
        list->SetTitle("Party");
        list->SetOwnsObjects(true);
        for (int i = 0; i < 30; i += 3)
            list->AddCopy(songs.GlobalList().GetItem(i));
        party = list.get();
        library.Playlists().Add(list.release());
    }
};

} // namespace

TEST(PlaylistDisplay, ListsTheActivePlaylistWithItsTotalsAndNothingWithoutOne)
{
    TplayingLibrary playing;
    TaudioTagList& party = *playing.party;
    party.GetItem(0)->SetTitle("<b>Loud</b>");
    playing.library.Jukebox()->SetActivePreloadedList(&party);
    TfrmPlaylist window;
    EXPECT_EQ(Panels(window), (std::vector<std::string>{"Count :", "Play Time :", "Artist Count :"}));
    window.Refresh(&playing.library);

    TStringList<TaudioTag> expected;
    party.GetStrings(expected);
    const ThtmlListItems& items = window.List()->Items();
    ASSERT_EQ(items.Count(), expected.Count());
    for (int i = 0; i < items.Count(); ++i) {
        EXPECT_EQ(UnescapeMarkup(items[i]), expected[i]);
        EXPECT_EQ(items.Objects(i), party.GetItem(i));
    }
    // Titles are data, not mark-up.
    EXPECT_NE(StripTags(items[0]).find("<b>Loud</b>"), std::string::npos);
    EXPECT_GT(party.ArtistCount(), 1);
    EXPECT_EQ(Panels(window),
              (std::vector<std::string>{"Count : 10", "Play Time : " + SecondsToHMS(party.TotalDuration()),
                                        "Artist Count : " + std::to_string(party.ArtistCount())}));

    playing.library.Jukebox()->SelectActivePlaylist("[none]");
    window.Refresh(&playing.library);
    EXPECT_EQ(window.List()->Count(), 0);
    EXPECT_EQ(Panels(window), kEmpty);
}

TEST(PlaylistDisplay, ShowingRefreshesFromTheKeptLibraryUntilItIsGone)
{
    TfrmPlaylist window;
    auto playing = std::make_unique<TplayingLibrary>();
    window.Refresh(&playing->library);
    EXPECT_EQ(window.List()->Count(), 0);
    playing->library.Jukebox()->SetActivePreloadedList(playing->party);
    window.show();
    EXPECT_EQ(window.List()->Count(), 10);

    window.hide();
    playing.reset();
    EXPECT_EQ(window.JukeboxList(), nullptr);
    window.ShowPlaylist(nullptr);
    EXPECT_TRUE(window.isVisible());
    EXPECT_EQ(window.List()->Count(), 0);
    EXPECT_EQ(Panels(window), kEmpty);
}
