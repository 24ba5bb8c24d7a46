#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

class TaudioTagList;
class TcustomJukeboxList;
class TcustomJukeboxLoader;

// A disc in a drive: its root folder ("/" at the end) and its volume serial number, when it can be read.
struct TcdDrive
{
    std::string Root;
    std::optional<std::uint32_t> Serial;
};

// The discs in the drives now, in drive order.
using TcdDriveSource = std::function<std::vector<TcdDrive>()>;

// The mounted optical discs of the running system, in mount-point order.
std::vector<TcdDrive> MountedCDDrives();

// Finds the discs the library has no catalogue of yet, offers to scan each ("New CD") and writes the songs
// found as the disc's catalogue; when any disc was counted, the loader reads the global list again, which
// appends the catalogues of the discs in the drives.
//
// Catalogues are named by volume serial alone, and two discs can share one. A disc whose serial has a
// catalogue none of whose songs is on the disc is another CD: its scan would replace the other's songs, so
// it is asked about every time, also when forced.
class TcdScanner
{
public:
    TcdScanner(TcustomJukeboxList& library, TcustomJukeboxLoader& loader,
               TcdDriveSource drives = MountedCDDrives);

    // force: scan new discs without asking. Returns how many discs were counted (known or scanned now).
    int ScanCDs(bool force);

    static std::string NewCDText(const std::string& root);
    static std::string SameSerialText(const std::string& root);

private:
    enum class TdiscState
    {
        New,
        Known,
        SharedSerial,
    };

    TdiscState StateOf(const TcdDrive& drive, const std::string& catalogue) const;
    // True when the disc counts: scanned now, or known already.
    bool Visit(const TcdDrive& drive, bool force, TaudioTagList& songs);

    TcustomJukeboxList& library_;
    TcustomJukeboxLoader& loader_;
    TcdDriveSource drives_;
};
