#pragma once

#include "controls/applicationhelp.h"

#include <QPointer>

#include <string>

class QWidget;

// Routes the framework's help requests (HELP_CONTEXT, HELP_CONTEXTPOPUP) to the program's help file,
// which the desktop's viewer opens. A topic page "<help file name without extension>-<context>.<ext>"
// beside the help file is opened for a context that has one; otherwise the help file itself.
class TmyHH
{
public:
    // A window as owner also has its own help requests hooked.
    explicit TmyHH(QWidget* owner = nullptr);
    ~TmyHH();
    TmyHH(const TmyHH&) = delete;
    TmyHH& operator=(const TmyHH&) = delete;

    const std::string& FileName() const { return fileName_; }
    void SetFileName(const std::string& value) { fileName_ = value; }

    // Whether the help viewer is there (the desktop's opener).
    bool LibraryLoaded() const { return libraryLoaded_; }
    bool Attached() const { return attached_; }

    // Puts the hook in place of the application's (and the owner window's) help handler; only when the
    // help file exists and there is a viewer.
    void Attach();
    // Puts the saved handlers back.
    void Detach();
    // Opens the help file at its default topic; false without a viewer or a help file.
    bool ShowHelp();
    // Opens the topic page of a help context when there is one, else the help file.
    bool ShowHelpTopic(int context);
    // The file a help context opens.
    std::string TopicFile(int context) const;

    bool HelpHook(std::uint16_t command, std::intptr_t data, bool& callHelp);

private:
    void LoadHelpLibrary();

    QPointer<QWidget> owner_;
    bool ownerIsForm_ = false;
    std::string fileName_;
    bool libraryLoaded_ = false;
    bool attached_ = false;
    THelpEvent savedApplicationHelp_;
    THelpEvent savedFormHelp_;
};
