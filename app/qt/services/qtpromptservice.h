#pragma once

#include "core/util/promptservice.h"

#include <QString>

// The core's message boxes as QMessageBox, modal over the active window.
class TqtPromptService : public TpromptService
{
public:
    TmessageResult MessageBox(const std::string& text, const std::string& caption, TmessageButtons buttons,
                              TmessageIcon icon) override;

    // The text as the box shows it: the program's CR line breaks become line feeds.
    static QString DisplayText(const std::string& text);
};

// Makes the core's message boxes these for the rest of the run.
void InstallQtPromptService();
