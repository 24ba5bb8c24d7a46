#pragma once

#include "core/util/componentlink.h"

#include <functional>
#include <string>
#include <vector>

class QWidget;
class TaudioTagList;
class TaudioTagPlaylistList;
class TcustomlocalJukeboxList;

// The stacker's commands shared by the main window and the stacker window: cartridges (*.ctg files of the
// stacker's lists in the list-of-lists format) loaded, added and saved through file dialogs or by name from
// the Cartridges folder, and a library list copied into the stacker. Every command that touches the stacker
// first asks the gate (the party-play lock), and does nothing when it refuses.
class TstackerCartridges
{
public:
    static constexpr const char* kExtension = "ctg";
    static constexpr const char* kFilter = "Stacker Cartridges (*.ctg)|*.ctg";

    // Answers true when the stacker may be changed now.
    using TgateFunction = std::function<bool()>;

    explicit TstackerCartridges(TcustomlocalJukeboxList* library, TgateFunction gate = {});

    // The library's playing jukebox's stacker; null without a library or jukebox.
    TaudioTagPlaylistList* Stacker() const;
    // No gate set reads as allowed; without a stacker nothing is.
    bool Allowed() const;

    // platform::CartridgesFolder() unless set (tests point it elsewhere).
    std::string Folder() const;
    void SetFolder(std::string folder) { folder_ = std::move(folder); }
    // The cartridge names of the folder (file names without ".ctg"), in the order the file system gives.
    std::vector<std::string> Names() const;
    // Folder + "/" + name + ".ctg".
    std::string FileOf(const std::string& name) const;

    // Loads the file into the stacker, replacing its lists or appending to them. False when refused, on a
    // missing file and when the file is damaged (the lists read before the damage stay).
    bool LoadFile(const std::string& fileName, bool append);
    // "&Load Cartridge" (append false) and "&Add Cartridge" (append true): an open dialog in the Cartridges
    // folder, then LoadFile. False when refused or cancelled.
    bool LoadCartridge(QWidget* parent, bool append);
    // "&Save Cartridge": a save dialog in the Cartridges folder, then the stacker written to the file
    // (EFileError on failure). The file written, "" when refused or cancelled.
    std::string SaveCartridge(QWidget* parent);
    // Appends a new active list to the stacker owning copies of the list's songs, with its title. False
    // when refused.
    bool AddListToStacker(const TaudioTagList& list);

private:
    TcomponentLink<TcustomlocalJukeboxList> library_;
    TgateFunction gate_;
    std::string folder_;
};
