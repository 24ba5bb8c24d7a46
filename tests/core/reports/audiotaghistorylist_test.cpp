#include "core/reports/audiotaghistorylist.h"
#include "platform/datetime.h"
#include "platform/error.h"
#include "support/tempdir.h"

#include <QLocale>

#include <gtest/gtest.h>

#include <memory>

namespace {

std::unique_ptr<TaudioTag> Song(const std::string& artist, const std::string& title, const std::string& file)
{
    auto s = std::make_unique<TaudioTag>();
    s->SetArtist(artist);
    s->SetTitle(title);
    s->SetFilename(file);
    s->SetModDate(platform::EncodeDate(2001, 1, 1));
    return s;
}

// The C locale for the "c" date-time form, for the length of one test.
class CLocale
{
public:
    CLocale() { QLocale::setDefault(QLocale::c()); }
    ~CLocale() { QLocale::setDefault(before_); }

private:
    QLocale before_;
};

} // namespace

TEST(AudioTagHistoryList, EverySongCarriesTheTimeItWasAdded)
{
    TaudioTagHistoryList history;
    history.SetOwnsObjects(true);
    const TDateTime before = platform::Now();
    ASSERT_TRUE(history.Add(Song("A", "One", "/m/1.wav").release()));
    const auto source = Song("B", "Two", "/m/2.wav");
    ASSERT_TRUE(history.AddCopy(source.get()));
    const TDateTime after = platform::Now();
    for (const TaudioTag* s : history.Items()) {
        EXPECT_GE(s->ModDate(), before);
        EXPECT_LE(s->ModDate(), after);
    }
    // The copy is stamped, the song it was made from is not.
    EXPECT_EQ(source->ModDate(), platform::EncodeDate(2001, 1, 1));
    EXPECT_FALSE(history.Add(nullptr));
}

TEST(AudioTagHistoryList, TextFileHasOneCrLfLinePerSongInListOrder)
{
    CLocale locale;
    TempDir dir;
    TaudioTagHistoryList history;
    history.SetOwnsObjects(true);
    history.Add(Song("Abba", "Waterloo", "/m/w.wav").release());
    history.Add(Song("Queen", "Line\r\nBreak", "/m/q.wav").release());
    history.GetItem(0)->SetModDate(platform::EncodeDateTime(2020, 3, 4, 5, 6, 7));
    history.GetItem(1)->SetModDate(platform::EncodeDateTime(2020, 3, 4, 23, 0, 1));

    TStringList<TaudioTag> lines;
    history.GetLines(lines);
    ASSERT_EQ(lines.Count(), 2);
    EXPECT_EQ(lines[0], "4 Mar 2020 05:06:07 : Abba - Waterloo (/m/w.wav)");
    EXPECT_EQ(lines.Objects(0), history.GetItem(0));

    // The folder is made on the way; a line break inside a tag does not split the song's line.
    const std::string file = dir.File("Data/sub/history.txt");
    history.SaveToTextFile(file);
    EXPECT_EQ(TempDir::Read(file), "4 Mar 2020 05:06:07 : Abba - Waterloo (/m/w.wav)\r\n"
                                   "4 Mar 2020 23:00:01 : Queen - Line  Break (/m/q.wav)\r\n");

    // Rewritten whole.
    history.Delete(0);
    history.SaveToTextFile(file);
    EXPECT_EQ(TempDir::Read(file), "4 Mar 2020 23:00:01 : Queen - Line  Break (/m/q.wav)\r\n");
    history.Clear();
    history.SaveToTextFile(file);
    EXPECT_EQ(TempDir::Read(file), "");
}

TEST(AudioTagHistoryList, UnwritableFileRaisesAndKeepsTheOldOne)
{
    TempDir dir;
    const std::string blocker = dir.Write("blocker", "not a folder");
    TaudioTagHistoryList history;
    history.SetOwnsObjects(true);
    history.Add(Song("A", "T", "/m/a.wav").release());
    EXPECT_THROW(history.SaveToTextFile(blocker + "/history.txt"), EFileError);
    EXPECT_EQ(TempDir::Read(blocker), "not a folder");
}
