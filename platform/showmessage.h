#pragma once

#include <functional>
#include <string>

// Telling the user something from code below the windows: the program installs a handler that shows a
// message box; until then (and in tools) the text goes to standard error.
namespace platform {

void ShowMessage(const std::string& text);

// Replaces the handler; an empty one restores the standard-error default. Answers the handler replaced.
using TmessageHandler = std::function<void(const std::string& text)>;
TmessageHandler SetMessageHandler(TmessageHandler handler);

} // namespace platform
