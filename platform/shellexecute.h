#pragma once

#include <string>
#include <string_view>
#include <vector>

// Starting programs and opening documents "through the shell".
namespace platform {

// The Linux program that stands for a Windows program file: "winamp.exe" (any case) becomes the stand-in
// player "orvane-standin" in the same folder; every other name is returned as it is.
std::string MapProgramFile(const std::string& fileName);

// Splits a command-line parameter string as Windows programs do: blanks separate, double quotes group,
// 2n backslashes before a quote give n backslashes, 2n+1 give n and a literal quote.
std::vector<std::string> SplitCommandLine(std::string_view parameters);

// The shell's "open": file (double quotes around it are dropped) is mapped through MapProgramFile; a program
// is started detached with the split parameters in workingFolder (quotes dropped; empty: the current one),
// any other existing file is handed to the desktop's opener. True when something was started.
bool ShellExecute(const std::string& file, const std::string& parameters, const std::string& workingFolder);

// The shell's "open" of a document (double quotes around the name are dropped): an existing file goes to
// the desktop's opener (platform/desktopopen.h), never started as a program. True when the opener started.
bool ShellOpenDocument(const std::string& file);

} // namespace platform
