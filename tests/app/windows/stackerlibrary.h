#pragma once

#include "app/windows/stackerhost.h"
#include "core/groupings/audiotagplaylistlist.h"
#include "core/jukebox/localjukebox.h"
#include "core/jukebox/localjukeboxlist.h"
#include "support/generatedlibrary.h"

#include <memory>
#include <string>

// A library of local files with its playing jukebox, holding copies of a generated library's songs and
// one saved playlist ("Party Mix"), for the stacker's window and commands.
struct TstackerLibrary
{
    explicit TstackerLibrary(const TlibraryShape& shape = {.Songs = 240, .Artists = 12, .Albums = 24})
    {
        Fill(shape);
    }

    // Replaces the songs by another generated library's; the groupings are rebuilt once.
    void Fill(const TlibraryShape& shape, unsigned seed = 1)
    {
        const TgeneratedLibrary generated(shape, seed);
        TaudioTagList& global = library.GlobalList();
        global.BeginUpdate();
        global.Clear();
        for (const TaudioTag* song : generated.GlobalList().Items())
            global.AddCopy(song);
        global.EndUpdate();
        if (library.Playlists().Count() == 0) {
            auto party = std::make_unique<TaudioTagList>();
            party->SetTitle("Party Mix");
            for (int i = 0; i < 9; ++i)
                party->AddCopy(global.GetItem(i * 5));
            library.Playlists().Add(party.release());
        }
    }

    TaudioTagPlaylistList& Stacker() { return library.Jukebox()->Stacker(); }

    TlocalJukeboxList library;
};

// The main window's seams, set by the test.
struct TtestStackerHost : TstackerHost
{
    QWidget* HostWindow() const override { return nullptr; }
    TfrmProgress* ProgressWindow() const override { return progress; }
    bool StackerLocked() const override { return locked; }

    TfrmProgress* progress = nullptr;
    bool locked = false;
};
