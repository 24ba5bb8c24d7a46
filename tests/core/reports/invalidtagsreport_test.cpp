#include "support/reportrecorder.h"

#include "core/jukebox/localjukeboxlist.h"
#include "core/reports/invalidtagsreport.h"
#include "core/reports/jukeboxtagreportlist.h"
#include "core/reports/missingcoversreport.h"
#include "core/songs/audiotaglist.h"
#include "platform/error.h"
#include "support/tempdir.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

void AddSong(TaudioTagList& list, const std::string& artist, const std::string& title,
             const std::string& file)
{
    auto s = std::make_unique<TaudioTag>();
    s->SetArtist(artist);
    s->SetTitle(title);
    s->SetFilename(file);
    list.Add(s.release());
}

} // namespace

TEST(InvalidTagsReport, ListsFilesWithoutArtistOrTitleSortedIgnoringCase)
{
    ReportRecorder recorder;
    TempDir dir;
    TaudioTagList songs;
    songs.SetOwnsObjects(true);
    AddSong(songs, "", "Title", "/m/b.mp3");
    AddSong(songs, "Artist", "Title", "/m/good.mp3");
    AddSong(songs, "Artist", "", "/m/A.mp3");
    AddSong(songs, "", "", "/m/a.mp3");
    AddSong(songs, "", "", "/m/C.mp3");
    AddSong(songs, "", "", "/m/C.mp3");

    TinvalidTagsReport report;
    report.SetSongs(&songs);
    report.SetFilename(dir.File("invalid.txt"));
    std::vector<std::pair<int, int>> progress;
    report.SetProgress([&](TjukeboxTagReport* sender, int index, int count) {
        EXPECT_EQ(sender, &report);
        progress.emplace_back(index, count);
    });
    report.Execute();
    // Equal names keep the newest first, as a sorted list that keeps duplicates inserts them; duplicates
    // stay.
    EXPECT_EQ(TempDir::Read(dir.File("invalid.txt")), "/m/a.mp3\n/m/A.mp3\n/m/b.mp3\n/m/C.mp3\n/m/C.mp3\n");
    EXPECT_EQ(recorder.opened, std::vector<std::string>{dir.File("invalid.txt")});
    ASSERT_EQ(progress.size(), 6u);
    EXPECT_EQ(progress.front(), std::make_pair(1, 6));
    EXPECT_EQ(progress.back(), std::make_pair(6, 6));
}

TEST(InvalidTagsReport, SeesTheTagsAsReadAfterTheGroupingsFilledInTitles)
{
    ReportRecorder recorder;
    TempDir dir;
    TlocalJukeboxList library;
    library.SetLoadGenres(true);
    TaudioTagList& songs = library.GlobalList();
    songs.BeginUpdate();
    AddSong(songs, "", "", "/m/no artist.wav");
    AddSong(songs, "Artist", "", "/m/no genre.wav");
    AddSong(songs, "Artist", "", "/m/sub/third.wav");
    AddSong(songs, "Artist", "third.wav.x", "/m/good.wav");
    songs.EndUpdate(); // the groupings give the untitled songs their file names as titles

    TinvalidTagsReport report;
    report.SetSongs(&songs);
    report.SetFilename(dir.File("invalid.txt"));
    report.Execute();
    EXPECT_EQ(TempDir::Read(dir.File("invalid.txt")),
              "/m/no artist.wav\n/m/no genre.wav\n/m/sub/third.wav\n");
}

TEST(InvalidTagsReport, CleanLibraryGivesAnEmptyFileThatIsStillOpened)
{
    ReportRecorder recorder;
    recorder.openerWorks = false;
    TempDir dir;
    const std::string file = dir.Write("invalid.txt", "old report");
    TaudioTagList songs;
    songs.SetOwnsObjects(true);
    AddSong(songs, "Artist", "Title", "/m/good.mp3");
    TinvalidTagsReport report;
    report.SetSongs(&songs);
    report.SetFilename(file);
    report.Execute();
    EXPECT_EQ(TempDir::Read(file), "");
    // No program for the file type: the file stays written, nothing is raised.
    EXPECT_EQ(recorder.opened, std::vector<std::string>{file});
}

TEST(InvalidTagsReport, NothingHappensWithoutSongsAndAnUnwritableFileRaises)
{
    ReportRecorder recorder;
    TempDir dir;
    TinvalidTagsReport report;
    report.SetFilename(dir.File("invalid.txt"));
    report.Execute();
    EXPECT_TRUE(TempDir::Read(dir.File("invalid.txt")).empty());
    EXPECT_TRUE(recorder.opened.empty());

    TaudioTagList songs;
    report.SetSongs(&songs);
    report.SetFilename(dir.File("missing/folder/invalid.txt"));
    EXPECT_THROW(report.Execute(), EFileError);
    EXPECT_TRUE(recorder.opened.empty());
}

TEST(JukeboxTagReportList, NamesSortedProgressAndSettingsPerReport)
{
    ReportRecorder recorder;
    TjukeboxTagReportList reports;
    reports.AddReport(std::make_unique<TmissingCoversReport>());
    reports.AddReport(std::make_unique<TinvalidTagsReport>());
    reports.AddReport(nullptr);
    ASSERT_EQ(reports.GetCount(), 2);
    EXPECT_EQ(reports.GetReport(2), nullptr);
    EXPECT_EQ(reports.GetReport(-1), nullptr);

    TStringList<TjukeboxTagReport> names;
    names.Add("stale");
    reports.GetNames(names);
    ASSERT_EQ(names.Count(), 2);
    EXPECT_EQ(names[0], "Invalid Tags");
    EXPECT_EQ(names.Objects(0), reports.GetReport(1));
    EXPECT_EQ(names[1], "Missing Album Covers");
    EXPECT_EQ(names.Objects(1), reports.GetReport(0));

    // Progress of any report reaches the list's event with that report.
    std::vector<TjukeboxTagReport*> senders;
    reports.OnProgress = [&](TjukeboxTagReport* sender, int, int) { senders.push_back(sender); };
    TempDir dir;
    TaudioTagList songs;
    songs.SetOwnsObjects(true);
    AddSong(songs, "", "", "/m/x.mp3");
    TjukeboxTagReport* invalid = reports.GetReport(1);
    invalid->SetSongs(&songs);
    invalid->SetFilename(dir.File("x.txt"));
    invalid->Execute();
    EXPECT_EQ(senders, std::vector<TjukeboxTagReport*>{invalid});

    // One section per report, named by the report, with the key Filename.
    TIniFile ini("");
    reports.SaveSettings(ini);
    EXPECT_EQ(ini.ToText(), "[Missing Album Covers]\r\nFilename=\r\n\r\n[Invalid Tags]\r\nFilename=" +
                                dir.File("x.txt") + "\r\n");
    TjukeboxTagReportList loaded;
    loaded.AddReport(std::make_unique<TinvalidTagsReport>());
    loaded.GetReport(0)->SetFilename("before");
    loaded.LoadSettings(ini);
    EXPECT_EQ(loaded.GetReport(0)->Filename(), dir.File("x.txt"));
    loaded.LoadSettings(TIniFile(""));
    EXPECT_EQ(loaded.GetReport(0)->Filename(), "");
}

TEST(JukeboxTagReport, TextsOfBothReports)
{
    ReportRecorder recorder;
    TmissingCoversReport covers;
    TinvalidTagsReport invalid;
    EXPECT_EQ(covers.GetDescription(),
              "Creates a list of albums for which an album cover cannot be located.");
    EXPECT_EQ(invalid.GetDescription(),
              "Creates a list of those files that are not correctly tagged (no Artist or no Title).");
    for (const TjukeboxTagReport* r : std::initializer_list<const TjukeboxTagReport*>{&covers, &invalid}) {
        EXPECT_EQ(r->GetFilter(), "Text Files (*.txt)|*.txt|All Files (*.*)|*.*");
        EXPECT_EQ(r->GetDefaultExt(), "txt");
    }
    covers.Configure();
    invalid.Configure();
    EXPECT_EQ(recorder.messages, (std::vector<std::string>{"Orvane Jukebox: No configuration is Required",
                                                           "Orvane Jukebox: No configuration is Required"}));
}
