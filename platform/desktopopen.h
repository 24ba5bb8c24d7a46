#pragma once

#include <functional>
#include <string>

// Handing web addresses, mail addresses and documents to the desktop's own opener (xdg-open), which
// picks the browser, mail program or viewer the user has chosen.
namespace platform {

// True when there is an opener: xdg-open on the PATH, or a replacement.
bool DesktopOpenerAvailable();

// Starts the opener on target (a URL such as "https://..." or "mailto:...", or a file name), detached.
// True when it was started; nothing is known of what the opener then does.
bool OpenWithDesktop(const std::string& target);

// Replaces the opener, for tests; an empty function restores xdg-open.
using TDesktopOpener = std::function<bool(const std::string& target)>;
void SetDesktopOpener(TDesktopOpener opener);

} // namespace platform
