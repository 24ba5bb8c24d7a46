#pragma once

#include "platform/stringlist.h"

#include <string>

class QWidget;

// The library's media folders as the windows that edit them keep them, one rule for all of them.

// A media folder as the list keeps it: trailing "/" dropped, except for the root itself, so one folder
// never stands in the list under two spellings.
std::string NormalizeMediaFolder(const std::string& folder);

// "&Add" of a media folder list: the folder browser "Choose a Music Folder"; a folder on an optical disc is
// refused with a message (discs are scanned by themselves), any other is appended to folders as
// NormalizeMediaFolder gives it. True when a folder was added.
bool ChooseMediaFolder(QWidget* parent, TStrings& folders);
