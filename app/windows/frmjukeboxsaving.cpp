// The main window's saves outside the close step: what a refused close from the system would have saved, the
// party-play section as it changes, the copy of a settings file that could not be read, and the fall-back
// from a tag-reader folder that is gone.
#include "app/dialogs/frmpartyplay.h"
#include "app/windows/frmjukebox.h"
#include "core/jukebox/localjukebox.h"
#include "core/util/promptservice.h"
#include "platform/atomicfile.h"
#include "platform/folders.h"
#include "platform/inifile.h"
#include "platform/scopeguard.h"

#include <QAction>

#include <algorithm>
#include <cstdio>
#include <filesystem>

namespace {

constexpr const char* kPartyPlaySection = "PartyPlay";

} // namespace

std::string TfrmJukebox::PartyPlayNoteFile() const
{
    return GetSettingsFolder() + "/partyplay.on";
}

void TfrmJukebox::SaveWithoutClosing()
{
    if (!settingsLoaded_ || closing_)
        return;
    const platform::TValueGuard saving(savingWhileOpen_, true);
    try {
        SavePreferences();
        if (partyPlayLoaded_) {
            TlocalJukebox& jukebox = GetJukebox();
            if (jukebox.AutoSaveQueue())
                jukebox.SaveQueue();
            if (jukebox.AutoSaveStacker())
                jukebox.SaveStacker();
        }
    } catch (const std::exception& error) {
        std::fprintf(stderr, "%s: %s\n", ApplicationTitle().c_str(), error.what());
    }
}

void TfrmJukebox::SavePartyPlaySettings()
{
    if (!partyPlay_ || !partyPlayLoaded_ || closing_)
        return;
    // The note first: whatever happens to the settings file, a party that is on stays locked.
    std::error_code ec;
    if (IsPartyPlay())
        platform::WriteFileAtomically(PartyPlayNoteFile(), "");
    else
        std::filesystem::remove(PartyPlayNoteFile(), ec);
    TIniFile ini(GetSettingsFile());
    // A file that could not be read is replaced at the close step, after its copy was kept.
    if (ini.LoadState() != TIniFile::TloadState::Read)
        return;
    partyPlay_->SaveSettings(ini, kPartyPlaySection);
    ini.UpdateFile();
}

void TfrmJukebox::PartyPlaySettingsLoaded()
{
    partyPlayLoaded_ = true;
    // The last run ended without its close step while party play was on (a crash, a power cut, a kill):
    // the party goes on, locked as it was.
    if (partyPlay_ && std::filesystem::exists(PartyPlayNoteFile()) && !IsPartyPlay()) {
        alMain.actnPartyPlayEnabled->setChecked(true);
        ApplyPartyPlayState();
    }
}

void TfrmJukebox::PartyPlayClosed()
{
    if (!partyPlayLoaded_)
        return;
    std::error_code ec;
    std::filesystem::remove(PartyPlayNoteFile(), ec);
}

void TfrmJukebox::KeepDamagedSettings(const TIniFile& ini)
{
    const TIniFile::TloadState state = ini.LoadState();
    if (state == TIniFile::TloadState::Read)
        return;
    const std::string file = ini.FileName();
    std::string text = "The settings file \"" + file + "\" ";
    text +=
        state == TIniFile::TloadState::TooLarge ? "is too large to be a settings file" : "could not be read";
    text += "; the program starts with its default settings.";
    std::error_code ec;
    if (std::filesystem::is_regular_file(file, ec) &&
        std::filesystem::copy_file(file, file + ".bad", std::filesystem::copy_options::overwrite_existing,
                                   ec))
        text += "\rThe file is kept as \"" + file + ".bad\".";
    std::string line = text;
    std::replace(line.begin(), line.end(), '\r', ' ');
    std::fprintf(stderr, "%s: %s\n", ApplicationTitle().c_str(), line.c_str());
    ShowMessageBox(text, ApplicationTitle(), TmessageButtons::Ok, TmessageIcon::Warning);
}

std::string TfrmJukebox::ExistingTagReadersFolder(const std::string& stored)
{
    std::error_code ec;
    if (stored.empty() || std::filesystem::is_directory(stored, ec))
        return stored;
    const std::string shipped = platform::TagPluginsFolder();
    ShowMessageBox("The tag-reader folder \"" + stored +
                       "\" no longer exists; the tag readers shipped with " + ApplicationTitle() + " in \"" +
                       shipped + "\" are used instead.",
                   ApplicationTitle(), TmessageButtons::Ok, TmessageIcon::Warning);
    return shipped;
}
