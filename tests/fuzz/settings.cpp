// settings.ini as the program reads it at start: the main window's preferences (every window of the chain,
// skin and geometry included), then the sections the start-up step hands on: the library, party play, the
// playlist editor and the stacker window. Whatever the file holds, nothing crashes, the windows stay within
// what a screen can show, and what is written back reads back within the same bounds.
#include "fuzz/fuzzcheck.h"

#include "app/dialogs/frmpartyplay.h"
#include "app/dialogs/frmprogress.h"
#include "app/qt/helpers/settingbounds.h"
#include "app/windows/frmmain.h"
#include "app/windows/frmplaylisteditor.h"
#include "app/windows/frmstackerlist.h"
#include "platform/folders.h"
#include "platform/inifile.h"
#include "platform/textcompare.h"
#include "support/fakeprompts.h"
#include "support/localtestwindow.h"
#include "support/tempdir.h"

#include <QApplication>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

namespace {

// The program folder and the platform first, then the application, then the windows.
std::unique_ptr<QApplication> StartApplication(const TempDir& home, int& argc, char** argv)
{
    ::setenv("ORVANE_HOME", (home.Path() + "/").c_str(), 1);
    ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
    ::setenv("ORVANE_BIN_DIR", ORVANE_DEFAULT_BIN_DIR, 0); // the built skins and plug-ins
    platform::SetCollationLocale("C");
    return std::make_unique<QApplication>(argc, argv);
}

struct Tprogram
{
    Tprogram()
    {
        main->SetProgressWindow(new TfrmProgress(main, &main->Busy()));
        editor = new TfrmPlaylistEditor(main->GetLocalJukeboxList(), main);
        stacker = new TfrmStackerList(main);
        main->SetPlaylistEditor(editor);
        main->SetStackerWindow(stacker);
        main->SetPartyPlayForm(&partyPlay);
    }

    int argc = 1;
    char name[8] = "fuzz";
    char* argv[2] = {name, nullptr};
    TempDir home;
    std::unique_ptr<QApplication> app = StartApplication(home, argc, argv);
    TfakePrompts prompts;
    TfrmPartyPlay partyPlay;
    TmainWindowPtr window = CreateMainWindow<TlocalTestWindow<TfrmMain>>();
    TfrmJukebox* main = window.get();     // link
    TfrmPlaylistEditor* editor = nullptr; // the main window's child
    TfrmStackerList* stacker = nullptr;   // the main window's child
};

Tprogram& Program()
{
    static Tprogram program; // lives to the process's end, as the program's windows do
    return program;
}

void CheckWithinTheScreen(const QWidget& window, const char* what)
{
    FuzzCheck(window.width() <= ExtentLimit() && window.height() <= ExtentLimit(), what);
}

} // namespace

// The font library keeps its configuration in blocks the leak checker cannot see from here; they are the
// system's, made once for the process.
extern "C" const char* __lsan_default_suppressions()
{
    return "leak:libfontconfig.so\n";
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    Tprogram& program = Program();
    const std::string file = program.main->GetSettingsFile();
    platform::ForceDirectories(program.main->GetSettingsFolder());
    {
        std::ofstream out(file, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    }
    program.prompts.boxes.clear();
    program.main->LoadPreferences();
    {
        const TIniFile ini(file);
        program.main->GetJukeboxList().LoadSettings(ini, "Jukebox");
        program.partyPlay.LoadSettings(ini, "PartyPlay");
        program.editor->LoadSettings(ini, "PlaylistEditor");
        program.stacker->LoadSettings(ini, "Stacker");
    }
    CheckWithinTheScreen(*program.main, "the main window fits a screen");
    CheckWithinTheScreen(*program.editor, "the playlist editor fits a screen");
    CheckWithinTheScreen(*program.stacker, "the stacker window fits a screen");
    FuzzCheck(program.main->GetKeyboardWidth() <= ExtentLimit() &&
                  program.main->GetKeyboardHeight() <= ExtentLimit(),
              "the keyboard fits a screen");
    FuzzCheck(program.main->GetScreenSaverTimeout() >= 1 && program.main->GetScreenSaverTimeout() <= 60,
              "the screensaver waits one to sixty minutes");

    // What is written back is read back within the same bounds.
    std::filesystem::remove(file);
    TIniFile written(file);
    program.main->SaveSettings(written);
    const int limit = ExtentLimit();
    for (const char* key : {"KeyboardWidth", "KeyboardHeight"}) {
        const int value = written.ReadInteger("OnScreenKeyboards", key, 1);
        FuzzCheck(value >= 0 && value <= limit, "the stored keyboard size fits a screen");
    }
    for (const char* key : {"Width", "Height"}) {
        const int value = written.ReadInteger("Geometry", key, 1);
        FuzzCheck(value >= 0 && value <= limit, "the stored window size fits a screen");
    }
    return 0;
}
