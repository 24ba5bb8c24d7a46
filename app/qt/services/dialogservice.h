#pragma once

#include "markup/color.h"
#include "markup/fontdesc.h"

#include <optional>
#include <string>
#include <vector>

class QWidget;

// What an open or save file dialog is asked for. Filters come in the program's pipe form,
// "Caption|*.a;*.b|Other caption|*.c"; FilterIndex counts from 1.
struct TfileDialogOptions
{
    std::string Title;
    std::string Filter;
    int FilterIndex = 1;
    std::string DefaultExt; // without the dot; added when the typed name has none
    std::string InitialDir;
    std::string FileName;
    bool OverwritePrompt = true;     // save: ask before replacing a file
    bool MultiSelect = false;        // open: several files
    std::vector<std::string> Places; // folders offered in the dialog's side bar
};

// The windows' own dialogs: file choosers, the folder browser, the input box, colour and font dialogs.
// The program installs the Qt one; tests install one that answers from a script.
class TdialogService
{
public:
    virtual ~TdialogService() = default;

    // The chosen files; empty when cancelled.
    virtual std::vector<std::string> OpenFile(QWidget* parent, const TfileDialogOptions& options) = 0;
    // The chosen file; nullopt when cancelled.
    virtual std::optional<std::string> SaveFile(QWidget* parent, const TfileDialogOptions& options) = 0;
    virtual std::optional<std::string> BrowseFolder(QWidget* parent, const std::string& caption,
                                                    const std::string& initialDir) = 0;
    // The typed text; nullopt when cancelled.
    virtual std::optional<std::string> InputQuery(QWidget* parent, const std::string& caption,
                                                  const std::string& prompt, const std::string& value) = 0;
    virtual std::optional<TColor> ChooseColor(QWidget* parent, TColor initial) = 0;
    virtual std::optional<TFontDesc> ChooseFont(QWidget* parent, const TFontDesc& initial) = 0;
    // A song's new 0-based place in the queue, between lowest and highest, asked for in the small popup
    // whose top left corner is at (left, top) on the screen; current when cancelled.
    virtual int AskQueuePosition(QWidget* parent, int lowest, int highest, int current, int left,
                                 int top) = 0;

    // The framework's input box: Cancel gives back the default.
    std::string InputBox(QWidget* parent, const std::string& caption, const std::string& prompt,
                         const std::string& defaultValue);

    // The installed service (a link); the Qt one unless another was installed.
    static TdialogService& Current();
    // Installs service (nullptr restores the Qt one) and returns the one it replaces (nullptr for the Qt
    // one).
    static TdialogService* Install(TdialogService* service);
};

// "Caption|*.a;*.b|Other|*.c" as Qt's name filters: "Caption (*.a *.b)", "Other (*.c)".
std::vector<std::string> PipeFilterToQt(const std::string& filter);
