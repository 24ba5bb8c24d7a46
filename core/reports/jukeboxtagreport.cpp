#include "core/reports/jukeboxtagreport.h"

#include "platform/atomicfile.h"
#include "platform/shellexecute.h"

TjukeboxTagReport::~TjukeboxTagReport() = default;

void TjukeboxTagReport::SaveSettings(TIniFile& ini) const
{
    ini.WriteString(GetName(), "Filename", filename_);
}

void TjukeboxTagReport::LoadSettings(const TIniFile& ini)
{
    filename_ = ini.ReadString(GetName(), "Filename", "");
}

void TjukeboxTagReport::DoProgress(int index, int count)
{
    if (progress_)
        progress_(this, index, count);
}

void TjukeboxTagReport::WriteAndOpen(const TStrings& lines) const
{
    // Reports are for reading on this system, so they take its own line ends.
    platform::WriteFileAtomically(filename_, lines.Text("\n"));
    platform::ShellOpenDocument("\"" + filename_ + "\"");
}
