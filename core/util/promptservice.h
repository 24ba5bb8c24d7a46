#pragma once

#include <string>

// The buttons, icon and answer of a message box.
enum class TmessageButtons
{
    Ok,
    OkCancel,
    YesNo,
};

enum class TmessageIcon
{
    None,
    Information,
    Warning, // exclamation
    Error,   // stop
    Question,
};

enum class TmessageResult
{
    Ok,
    Cancel,
    Yes,
    No,
};

// Where the core asks or tells the user something. The windows install the real boxes; tests install
// their own and answer. Texts may break lines with CR, as the program's fixed texts do.
class TpromptService
{
public:
    virtual ~TpromptService() = default;

    virtual TmessageResult MessageBox(const std::string& text, const std::string& caption,
                                      TmessageButtons buttons, TmessageIcon icon) = 0;

    // The installed service (a link), nullptr when none.
    static TpromptService* Current();
    // Installs service (nullptr removes it) and returns the one it replaces.
    static TpromptService* Install(TpromptService* service);
};

// Asks through the installed service. Without one nothing is shown and the answer is the box's last
// button (OK, Cancel, No), the one that starts nothing.
TmessageResult ShowMessageBox(const std::string& text, const std::string& caption, TmessageButtons buttons,
                              TmessageIcon icon);

// The program's title, which its messages name: "Orvane Jukebox" unless set.
const std::string& ApplicationTitle();
void SetApplicationTitle(std::string title);
