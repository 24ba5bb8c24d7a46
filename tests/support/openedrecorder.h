#pragma once

#include "platform/desktopopen.h"

#include <string>
#include <vector>

// Records what would have been opened on the desktop, for the life of the test.
class OpenedRecorder
{
public:
    OpenedRecorder()
    {
        platform::SetDesktopOpener([this](const std::string& target) {
            opened.push_back(target);
            return true;
        });
    }
    ~OpenedRecorder() { platform::SetDesktopOpener({}); }

    OpenedRecorder(const OpenedRecorder&) = delete;
    OpenedRecorder& operator=(const OpenedRecorder&) = delete;

    std::vector<std::string> opened;
};
